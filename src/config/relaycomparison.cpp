#include "config/relaycomparison.h"

#include <QStringList>

#include <algorithm>

namespace RelayText
{

QString relayMode(qint16 relayMode)
{
    return relayModeList().value(relayMode, QStringLiteral("?"));
}

QString inputMode(qint16 inputMode)
{
    return inputModeList().value(inputMode, QStringLiteral("?"));
}

namespace
{

QStringList inputNumbers(const std::array<bool, InputCount> &map)
{
    QStringList numbers;
    for (int input = 0; input < InputCount; ++input) {
        if (map[size_t(input)])
            numbers << QString::number(input + 1);
    }
    return numbers;
}

} // namespace

QString inputs(const std::array<bool, InputCount> &map)
{
    const QStringList numbers = inputNumbers(map);
    return numbers.isEmpty() ? QStringLiteral("none") : numbers.join(QStringLiteral(", "));
}

QString gate(qint16 mode, const std::array<bool, InputCount> &map)
{
    const QStringList numbers = inputNumbers(map);
    if (numbers.isEmpty())
        return inputMode(mode) + QStringLiteral(" of no input");
    return inputMode(mode) +
           (numbers.size() == 1 ? QStringLiteral(" of input ") : QStringLiteral(" of inputs ")) +
           numbers.join(QStringLiteral(", "));
}

QString closureTime(const RelayConfig &relay)
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(relay.Hours)
        .arg(relay.Minutes, 2, 10, QLatin1Char('0'))
        .arg(relay.Seconds, 2, 10, QLatin1Char('0'))
        .arg(relay.Hundredths, 2, 10, QLatin1Char('0'));
}

QString contact(bool closed)
{
    return closed ? QStringLiteral("Closed") : QStringLiteral("Open");
}

} // namespace RelayText

QString relayFieldName(RelayField field)
{
    switch (field) {
    case RelayField::RelayMode:
        return QStringLiteral("relay mode");
    case RelayField::InputMode:
        return QStringLiteral("input mode");
    case RelayField::InputMap:
        return QStringLiteral("input map");
    case RelayField::UnlatchInputMode:
        return QStringLiteral("unlatch input mode");
    case RelayField::UnlatchMap:
        return QStringLiteral("unlatch map");
    case RelayField::ClosureTime:
        return QStringLiteral("closure time");
    case RelayField::PCControl:
        return QStringLiteral("PC control");
    case RelayField::Contact:
        return QStringLiteral("contact");
    }
    return {};
}

QString RelayDifference::text(const QString &firstName, const QString &secondName) const
{
    return QStringLiteral("Relay %1: %2: %3 %4; %5 %6")
        .arg(relay)
        .arg(relayFieldName(field), firstName, first, secondName, second);
}

namespace
{

bool sameTime(const RelayConfig &a, const RelayConfig &b)
{
    // The program dialogue sends these four, not the counter.
    return a.Hours == b.Hours && a.Minutes == b.Minutes && a.Seconds == b.Seconds &&
           a.Hundredths == b.Hundredths;
}

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

QList<RelayDifference> compareRelays(const RelayConfig &first, const RelayConfig &second, int relayNumber)
{
    QList<RelayDifference> differences;
    const auto check = [&](RelayField field, const auto &a, const auto &b, const auto &text) {
        if (a != b)
            differences.append({relayNumber, field, text(a), text(b)});
    };
    check(RelayField::RelayMode, first.RelayMode, second.RelayMode, RelayText::relayMode);
    check(RelayField::InputMode, first.InputMode, second.InputMode, RelayText::inputMode);
    check(RelayField::InputMap, first.InputMap, second.InputMap, RelayText::inputs);
    if (isLatchingMode(first.RelayMode) || isLatchingMode(second.RelayMode)) {
        check(RelayField::UnlatchInputMode, first.UnlatchInputMode, second.UnlatchInputMode, RelayText::inputMode);
        check(RelayField::UnlatchMap, first.UnlatchMap, second.UnlatchMap, RelayText::inputs);
    }
    if ((isTimedMode(first.RelayMode) || isTimedMode(second.RelayMode)) && !sameTime(first, second))
        differences.append(
            {relayNumber, RelayField::ClosureTime, RelayText::closureTime(first), RelayText::closureTime(second)});
    check(RelayField::PCControl, first.PCControl, second.PCControl, onOff);
    check(RelayField::Contact, first.Closed, second.Closed, RelayText::contact);
    return differences;
}

QList<RelayDifference> compareTables(const RelayTable &first, const RelayTable &second)
{
    QList<RelayDifference> differences;
    for (int index = 0; index < RelayCount; ++index)
        differences += compareRelays(first[size_t(index)], second[size_t(index)], index + 1);
    return differences;
}

bool anyCounts(const QList<RelayDifference> &differences)
{
    return std::any_of(differences.begin(), differences.end(),
                       [](const RelayDifference &difference) { return difference.counts(); });
}

bool behavesAlike(const RelayConfig &first, const RelayConfig &second)
{
    return !anyCounts(compareRelays(first, second, 0));
}
