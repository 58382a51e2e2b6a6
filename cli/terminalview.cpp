#include "terminalview.h"

#include "clitext.h"
#include "config/relayconfig.h"

#include <QRegularExpression>
#include <QTextStream>

QString TerminalView::tagged(const QString &text) const
{
    if (m_tag.isEmpty())
        return text;
    QStringList lines = text.split(u'\n');
    // What follows the last newline is no line of its own.
    const bool endsLine = lines.last().isEmpty() && lines.size() > 1;
    if (endsLine)
        lines.removeLast();
    for (QString &line : lines)
        line.prepend(m_tag);
    return lines.join(u'\n') + (endsLine ? QStringLiteral("\n") : QString());
}

void TerminalView::out(const QString &text) const
{
    QTextStream(stdout) << tagged(text);
}

void TerminalView::err(const QString &text) const
{
    QTextStream(stderr) << tagged(text);
}

void TerminalView::setStatusText(const QString &text)
{
    m_statusText = text;
    if (!text.isEmpty())
        err(text + u'\n');
}

void TerminalView::setActionText(const QString &text) const
{
    // Only the whole-table commands end their action text with a relay's
    // number, in any language; the texts that end a dialogue say nothing a
    // terminal user needs.
    static const QRegularExpression relayStep(QStringLiteral("\\s\\d+$"));
    const QRegularExpressionMatch match = relayStep.match(text);
    if (match.hasMatch())
        err(CliText::tr("%1 of %2...\n").arg(text).arg(RelayCount));
}
