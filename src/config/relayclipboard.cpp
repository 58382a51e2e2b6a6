#include "config/relayclipboard.h"

#include "config/relaycomparison.h"
#include "config/relayvalues.h"


namespace
{

const QString Title = QStringLiteral("Tavik relay");

enum Field { RelayModeField, InputModeField, InputMapField, UnlatchModeField, UnlatchMapField, TimeField };
constexpr int FieldCount = 6;
const char *const FieldNames[FieldCount] = {"Relay mode",         "Input mode",        "Input map",
                                            "Unlatch input mode", "Unlatch input map", "Closure time"};

// The one field each single part carries.
constexpr Field PartFields[] = {RelayModeField, InputModeField, InputMapField, TimeField};

QString fieldText(const RelayConfig &relay, Field field)
{
    switch (field) {
    case RelayModeField:
        return relayModeList().value(relay.RelayMode);
    case InputModeField:
        return inputModeList().value(relay.InputMode);
    case InputMapField:
        return RelayText::inputs(relay.InputMap);
    case UnlatchModeField:
        return inputModeList().value(relay.UnlatchInputMode);
    case UnlatchMapField:
        return RelayText::inputs(relay.UnlatchMap);
    case TimeField:
        break;
    }
    return RelayText::closureTime(relay);
}

bool parseField(Field field, const QString &text, RelayConfig &relay)
{
    const auto set = [](auto &value, const auto &parsed) {
        if (parsed)
            value = *parsed;
        return parsed.has_value();
    };
    switch (field) {
    case RelayModeField:
        return set(relay.RelayMode, RelayValues::relayMode(text));
    case InputModeField:
        return set(relay.InputMode, RelayValues::inputMode(text));
    case InputMapField:
        return set(relay.InputMap, RelayValues::inputs(text));
    case UnlatchModeField:
        return set(relay.UnlatchInputMode, RelayValues::inputMode(text));
    case UnlatchMapField:
        return set(relay.UnlatchMap, RelayValues::inputs(text));
    case TimeField:
        break;
    }
    return RelayValues::setClosureTime(text, relay);
}

// A gate or map part stands for the shown set; in the clip it travels as the latch set.
RelayConfig shownSetAsLatchSet(const RelayConfig &relay)
{
    RelayConfig shown = relay;
    if (showsUnlatchSet(relay)) {
        shown.InputMode = relay.UnlatchInputMode;
        shown.InputMap = relay.UnlatchMap;
    }
    return shown;
}

} // namespace

namespace RelayClipboard
{

QString textOf(const RelayConfig &relay, RelayPart part)
{
    QStringList lines{Title};
    const auto add = [&lines](const RelayConfig &from, Field field) {
        lines << QLatin1String(FieldNames[field]) + QStringLiteral(": ") + fieldText(from, field);
    };
    if (part == RelayPart::Configuration) {
        for (int field = 0; field < FieldCount; ++field)
            add(relay, Field(field));
    } else {
        add(shownSetAsLatchSet(relay), PartFields[int(part)]);
    }
    return lines.join(u'\n') + u'\n';
}

std::optional<RelayClip> parse(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    if (lines.isEmpty() || lines.takeFirst().compare(Title, Qt::CaseInsensitive) != 0)
        return std::nullopt;

    RelayClip clip;
    std::array<bool, FieldCount> given{};
    for (const QString &line : std::as_const(lines)) {
        const qsizetype colon = line.indexOf(u':');
        const QString name = line.left(colon).trimmed();
        const auto field =
            std::find_if(std::begin(FieldNames), std::end(FieldNames), [&name](const char *known) {
                return name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
            });
        if (colon < 0 || field == std::end(FieldNames))
            return std::nullopt;
        const auto index = size_t(field - std::begin(FieldNames));
        if (given[index] || !parseField(Field(index), line.mid(colon + 1).trimmed(), clip.values))
            return std::nullopt;
        given[index] = true;
    }

    if (std::all_of(given.cbegin(), given.cend(), [](bool g) { return g; }))
        return clip;
    if (std::count(given.cbegin(), given.cend(), true) != 1)
        return std::nullopt;
    for (size_t part = 0; part < std::size(PartFields); ++part) {
        if (given[size_t(PartFields[part])]) {
            clip.part = RelayPart(part);
            return clip;
        }
    }
    return std::nullopt; // an unlatch set alone: only the whole configuration carries one
}

void apply(const RelayClip &clip, RelayConfig &relay)
{
    const RelayConfig &from = clip.values;
    const bool unlatchSet = showsUnlatchSet(relay);
    switch (clip.part) {
    case RelayPart::RelayMode:
        relay.RelayMode = from.RelayMode;
        return;
    case RelayPart::InputMode:
        (unlatchSet ? relay.UnlatchInputMode : relay.InputMode) = from.InputMode;
        return;
    case RelayPart::InputMap:
        (unlatchSet ? relay.UnlatchMap : relay.InputMap) = from.InputMap;
        return;
    case RelayPart::Configuration:
        relay.RelayMode = from.RelayMode;
        relay.InputMode = from.InputMode;
        relay.InputMap = from.InputMap;
        relay.UnlatchInputMode = from.UnlatchInputMode;
        relay.UnlatchMap = from.UnlatchMap;
        break;
    case RelayPart::ClosureTime:
        break;
    }
    relay.Counter = from.Counter;
    CounterToTime(relay);
}

} // namespace RelayClipboard
