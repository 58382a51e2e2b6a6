#include "config/relayclipboard.h"

#include "config/relaycomparison.h"

#include <QRegularExpression>

namespace
{

const QString Title = QStringLiteral("Tavik relay");

enum Field { RelayModeField, InputModeField, InputMapField, UnlatchModeField, UnlatchMapField, TimeField };
constexpr int FieldCount = 6;
const char *const FieldNames[FieldCount] = {"Relay mode",         "Input mode",        "Input map",
                                            "Unlatch input mode", "Unlatch input map", "Closure time"};

// The one field each single part carries.
constexpr Field PartFields[] = {RelayModeField, InputModeField, InputMapField, TimeField};

using InputMap = std::array<bool, InputCount>;

std::optional<InputMap> parseMap(const QString &text)
{
    InputMap map{};
    if (text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return map;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList inputs = text.split(separators, Qt::SkipEmptyParts);
    if (inputs.isEmpty())
        return std::nullopt;
    for (const QString &input : inputs) {
        bool isNumber = false;
        const int number = input.toInt(&isNumber);
        if (!isNumber || number < 1 || number > InputCount)
            return std::nullopt;
        map[size_t(number - 1)] = true;
    }
    return map;
}

std::optional<qint16> parseName(const QString &text, const QStringList &names)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return qint16(i);
    return std::nullopt;
}

// Hours, minutes, seconds and hundredths: "1:02:03.04"; the hundredths may be
// left out or given as one digit of tenths.
bool parseTime(const QString &text, RelayConfig &relay)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const QString fraction = match.captured(4);
    relay.Hours = qint16(match.captured(1).toInt());
    relay.Minutes = qint16(match.captured(2).toInt());
    relay.Seconds = qint16(match.captured(3).toInt());
    relay.Hundredths = qint16(fraction.toInt() * (fraction.size() == 1 ? 10 : 1));
    TimeToCounter(relay);
    return relay.Hours <= 45 && relay.Minutes <= 59 && relay.Seconds <= 59;
}

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
    const auto setName = [&text](qint16 &value, const QStringList &names) {
        const std::optional<qint16> index = parseName(text, names);
        if (index)
            value = *index;
        return index.has_value();
    };
    const auto setMap = [&text](InputMap &map) {
        const std::optional<InputMap> parsed = parseMap(text);
        if (parsed)
            map = *parsed;
        return parsed.has_value();
    };
    switch (field) {
    case RelayModeField:
        return setName(relay.RelayMode, relayModeList());
    case InputModeField:
        return setName(relay.InputMode, inputModeList());
    case InputMapField:
        return setMap(relay.InputMap);
    case UnlatchModeField:
        return setName(relay.UnlatchInputMode, inputModeList());
    case UnlatchMapField:
        return setMap(relay.UnlatchMap);
    case TimeField:
        break;
    }
    return parseTime(text, relay);
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
