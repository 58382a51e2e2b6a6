#include "config/relaycomparison.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace RelayText
{

QString relayMode(qint16 relayMode)
{
    return relayModeList().value(relayMode, outOfRangeText(QString::number(relayMode)));
}

QString inputMode(qint16 inputMode)
{
    return inputModeList().value(inputMode, outOfRangeText(QString::number(inputMode)));
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
        return QCoreApplication::translate("RelayComparison", "%1 of no input").arg(inputMode(mode));
    return (numbers.size() == 1 ? QCoreApplication::translate("RelayComparison", "%1 of input %2")
                                : QCoreApplication::translate("RelayComparison", "%1 of inputs %2"))
        .arg(inputMode(mode), numbers.join(QStringLiteral(", ")));
}

QString closureTime(const RelayConfig &relay)
{
    const QString time = QStringLiteral("%1:%2:%3.%4")
                             .arg(relay.Hours)
                             .arg(relay.Minutes, 2, 10, QLatin1Char('0'))
                             .arg(relay.Seconds, 2, 10, QLatin1Char('0'))
                             .arg(relay.Hundredths, 2, 10, QLatin1Char('0'));
    return relay.Counter > MaxCounter ? outOfRangeText(time) : time;
}

QString contact(bool closed)
{
    return closed ? QStringLiteral("Closed") : QStringLiteral("Open");
}

} // namespace RelayText

namespace
{

const char *relayFieldKey(RelayField field)
{
    switch (field) {
    case RelayField::RelayMode:
        return QT_TRANSLATE_NOOP("RelayComparison", "relay mode");
    case RelayField::InputMode:
        return QT_TRANSLATE_NOOP("RelayComparison", "input mode");
    case RelayField::InputMap:
        return QT_TRANSLATE_NOOP("RelayComparison", "input map");
    case RelayField::UnlatchInputMode:
        return QT_TRANSLATE_NOOP("RelayComparison", "unlatch input mode");
    case RelayField::UnlatchMap:
        return QT_TRANSLATE_NOOP("RelayComparison", "unlatch map");
    case RelayField::ClosureTime:
        return QT_TRANSLATE_NOOP("RelayComparison", "closure time");
    case RelayField::PCControl:
        return QT_TRANSLATE_NOOP("RelayComparison", "PC control");
    case RelayField::Contact:
        return QT_TRANSLATE_NOOP("RelayComparison", "contact");
    }
    return "";
}

} // namespace

QString relayFieldName(RelayField field)
{
    return QString::fromLatin1(relayFieldKey(field));
}

QString relayFieldCaption(RelayField field)
{
    return QCoreApplication::translate("RelayComparison", relayFieldKey(field));
}

QString RelayDifference::text(const QString &firstName, const QString &secondName) const
{
    return QCoreApplication::translate("RelayComparison", "Relay %1: %2: %3 %4; %5 %6")
        .arg(relay)
        .arg(relayFieldCaption(field), firstName, first, secondName, second);
}

namespace
{

bool sameTime(const RelayConfig &a, const RelayConfig &b)
{
    // The program dialogue sends these four, not the counter.
    return a.Hours == b.Hours && a.Minutes == b.Minutes && a.Seconds == b.Seconds &&
           a.Hundredths == b.Hundredths;
}

// The inputs as a person reads them; the clipboard keeps its own "none".
QString inputsText(const std::array<bool, InputCount> &map)
{
    const QString numbers = RelayText::inputs(map);
    return numbers == QStringLiteral("none") ? QCoreApplication::translate("RelayComparison", "none")
                                             : numbers;
}

QString onOff(bool on)
{
    return on ? QCoreApplication::translate("RelayComparison", "on")
              : QCoreApplication::translate("RelayComparison", "off");
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
    check(RelayField::InputMap, first.InputMap, second.InputMap, inputsText);
    if (isLatchingMode(first.RelayMode) || isLatchingMode(second.RelayMode)) {
        check(RelayField::UnlatchInputMode, first.UnlatchInputMode, second.UnlatchInputMode, RelayText::inputMode);
        check(RelayField::UnlatchMap, first.UnlatchMap, second.UnlatchMap, inputsText);
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
