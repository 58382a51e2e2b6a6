#include "config/relayvalues.h"

#include <QRegularExpression>
#include <QStringList>

namespace
{

std::optional<qint16> indexOfName(const QString &text, const QStringList &names)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return qint16(i);
    return std::nullopt;
}

} // namespace

namespace RelayValues
{

std::optional<qint16> relayMode(const QString &text)
{
    return indexOfName(text.trimmed(), relayModeList());
}

std::optional<qint16> inputMode(const QString &text)
{
    return indexOfName(text.trimmed(), inputModeList());
}

std::optional<InputMap> inputs(const QString &text)
{
    InputMap map{};
    if (text.trimmed().compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return map;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList numbers = text.split(separators, Qt::SkipEmptyParts);
    if (numbers.isEmpty())
        return std::nullopt;
    for (const QString &input : numbers) {
        bool isNumber = false;
        const int number = input.toInt(&isNumber);
        if (!isNumber || number < 1 || number > InputCount)
            return std::nullopt;
        map[size_t(number - 1)] = true;
    }
    return map;
}

bool setClosureTime(const QString &text, RelayConfig &relay)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})(?:\\.(\\d{1,2}))?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    RelayConfig timed = relay;
    const QString fraction = match.captured(4);
    timed.Hours = qint16(match.captured(1).toInt());
    timed.Minutes = qint16(match.captured(2).toInt());
    timed.Seconds = qint16(match.captured(3).toInt());
    timed.Hundredths = qint16(fraction.toInt() * (fraction.size() == 1 ? 10 : 1));
    if (timed.Hours > 45 || timed.Minutes > 59 || timed.Seconds > 59)
        return false;
    TimeToCounter(timed);
    relay = timed;
    return true;
}

} // namespace RelayValues
