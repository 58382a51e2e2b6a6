#pragma once

#include "config/relayconfig.h"

#include <QString>

#include <optional>

// A relay's values as a person types them: mode and gate by the names the
// window lists ("Min-Time", "NAND", in any case), inputs numbered 1 to 12
// ("1, 3, 12", "1,3,12" or "none"), a closure time as "1:02:03.04" (the
// hundredths may be left out, or be one digit of tenths). The clipboard text,
// the JSON configuration and tavikctl set read them all alike.
namespace RelayValues
{

using InputMap = std::array<bool, InputCount>;

std::optional<qint16> relayMode(const QString &text);
std::optional<qint16> inputMode(const QString &text);
std::optional<InputMap> inputs(const QString &text);
// Sets Hours to Hundredths and Counter; false (the relay untouched) beyond
// 45:59:59.99 or not in that form.
bool setClosureTime(const QString &text, RelayConfig &relay);

} // namespace RelayValues
