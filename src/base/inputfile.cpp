#include "base/inputfile.h"

LineRead readBoundedLine(QIODevice &device, qsizetype maxBytes, QByteArray &line)
{
    // One byte more than allowed shows that a line goes on past it.
    line = device.readLine(maxBytes + 1);
    const auto *file = qobject_cast<QFileDevice *>(&device);
    if (file && file->error() != QFileDevice::NoError)
        return LineRead::Failed;
    if (line.isEmpty())
        return LineRead::End;
    if (!line.endsWith('\n')) {
        if (line.size() >= maxBytes)
            return LineRead::TooLong;
    } else {
        line.chop(1);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return LineRead::Line;
}

QString visibleText(const QString &text, qsizetype maxChars)
{
    const bool cut = maxChars >= 0 && text.size() > maxChars;
    QString shown;
    for (const QChar c : cut ? text.left(maxChars) : text) {
        // C0, DEL and C1: what a terminal takes for a command.
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return cut ? shown + QStringLiteral("...") : shown;
}
