#include "relaytext.h"

#include "config/relaycomparison.h"

#include <QStringList>

namespace
{

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

QString relayLine(const RelayConfig &relay, int number)
{
    QStringList parts{QStringLiteral("Relay %1: %2").arg(number, 2).arg(RelayText::relayMode(relay.RelayMode)),
                      RelayText::gate(relay.InputMode, relay.InputMap)};
    if (isLatchingMode(relay.RelayMode))
        parts << QStringLiteral("unlatch ") + RelayText::gate(relay.UnlatchInputMode, relay.UnlatchMap);
    parts << QStringLiteral("time ") + RelayText::closureTime(relay) << RelayText::contact(relay.Closed)
          << QStringLiteral("PC control ") + yesNo(relay.PCControl);
    return parts.join(QStringLiteral("; "));
}

QString relayDescription(const RelayConfig &relay, int number)
{
    QString text = QStringLiteral("Relay %1\n").arg(number);
    text += QStringLiteral("Mode: %1\n").arg(RelayText::relayMode(relay.RelayMode));
    text += QStringLiteral("Gate: %1\n").arg(RelayText::gate(relay.InputMode, relay.InputMap));
    if (isLatchingMode(relay.RelayMode))
        text += QStringLiteral("Unlatch gate: %1\n").arg(RelayText::gate(relay.UnlatchInputMode, relay.UnlatchMap));
    text += QStringLiteral("Closure time: %1\n").arg(RelayText::closureTime(relay));
    text += QStringLiteral("Contact: %1\n").arg(RelayText::contact(relay.Closed));
    text += QStringLiteral("PC control: %1\n").arg(yesNo(relay.PCControl));
    return text;
}
