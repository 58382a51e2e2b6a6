#include "link/portnumber.h"

#include <cmath>

namespace
{

// The leading number of a text the way a decimal reader takes it: leading
// blanks skipped, an optional sign, digits with blanks between them ignored,
// an optional fraction. No digits give 0.
double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
            ++i;
    };
    skipBlanks();
    double sign = 1;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        sign = text.at(i) == u'-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    bool fraction = false;
    double scale = 0.1;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\t')
            continue;
        if (c == u'.' && !fraction) {
            fraction = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            break;
        const int digit = c.unicode() - u'0';
        if (fraction) {
            value += digit * scale;
            scale /= 10;
        } else {
            value = value * 10 + digit;
        }
    }
    return sign * value;
}

} // namespace

int portNumberFromText(const QString &entryText)
{
    QString rest = entryText;
    rest.remove(QStringLiteral("Com"), Qt::CaseSensitive);
    // Rounds halves to even under the default rounding mode.
    const double rounded = std::nearbyint(leadingNumber(rest));
    if (rounded < 1)
        return 1;
    return rounded > 32767 ? int(32767) : int(rounded);
}

QString portEntryText(int number, const QString &systemName)
{
    const QString entry = QStringLiteral("Com") + QString::number(number);
    if (systemName.isEmpty() || systemName == QStringLiteral("COM") + QString::number(number))
        return entry;
    return entry + QStringLiteral(" (") + systemName + QStringLiteral(")");
}
