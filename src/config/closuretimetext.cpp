#include "config/closuretimetext.h"

#include <cmath>
#include <limits>

namespace ClosureTimeText {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Length of the run of digits starting at pos.
qsizetype digitRun(const QString &text, qsizetype pos)
{
    qsizetype end = pos;
    while (end < text.size() && isDigit(text.at(end)))
        ++end;
    return end - pos;
}

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    const qsizetype start = pos;
    if (pos < text.size() && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        ++pos;
    const qsizetype integerDigits = digitRun(text, pos);
    pos += integerDigits;
    qsizetype fractionDigits = 0;
    if (pos < text.size() && text.at(pos) == QLatin1Char('.')) {
        fractionDigits = digitRun(text, pos + 1);
        pos += 1 + fractionDigits;
    }
    if (integerDigits == 0 && fractionDigits == 0)
        return 0.0;
    // An exponent counts only when digits follow it: "4e" reads 4.
    if (pos < text.size() && (text.at(pos) == QLatin1Char('e') || text.at(pos) == QLatin1Char('E'))) {
        qsizetype exponent = pos + 1;
        if (exponent < text.size() && (text.at(exponent) == QLatin1Char('+') || text.at(exponent) == QLatin1Char('-')))
            ++exponent;
        const qsizetype exponentDigits = digitRun(text, exponent);
        if (exponentDigits > 0)
            pos = exponent + exponentDigits;
    }
    const QString number = text.mid(start, pos - start);
    // toDouble refuses out-of-range numbers; their sign of magnitude is what counts here.
    bool ok = false;
    const double value = std::fabs(number.toDouble(&ok));
    if (ok)
        return value;
    const qsizetype e = number.indexOf(QLatin1Char('e'), 0, Qt::CaseInsensitive);
    const bool tiny = e >= 0 && number.at(e + 1) == QLatin1Char('-');
    return tiny ? 0.0 : std::numeric_limits<double>::infinity();
}

qint64 roundHalfEven(double number)
{
    const double whole = std::floor(number);
    const double fraction = number - whole;
    qint64 result = qint64(whole);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0))
        ++result;
    return result;
}

int wholeUnitValue(const QString &text, int maximum)
{
    const double number = leadingNumber(text);
    if (number > maximum)
        return maximum;
    return int(roundHalfEven(number));
}

int hundredthsValue(const QString &text, int maximum)
{
    const double hundredths = leadingNumber(text) * 100.0;
    if (hundredths > maximum)
        return maximum;
    return int(roundHalfEven(hundredths));
}

QString secondsText(int hundredths)
{
    return QString::number(hundredths / 100) + QLatin1Char('.') +
           QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

} // namespace ClosureTimeText
