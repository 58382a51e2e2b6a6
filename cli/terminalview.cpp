#include "terminalview.h"

#include "clitext.h"
#include "config/relayconfig.h"
#include "progressline.h"
#include "terminal.h"

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
    ProgressLine::shared().clear();
    QTextStream(stdout) << tagged(text);
}

void TerminalView::err(const QString &text) const
{
    ProgressLine::shared().clear();
    QTextStream(stderr) << tagged(text);
}

void TerminalView::setStatusText(const QString &text)
{
    m_statusText = text;
    if (!text.isEmpty())
        err(text + u'\n');
}

void TerminalView::setActionText(const QString &text)
{
    // Only the whole-table steps end their action text with a relay's
    // number, in any language.
    static const QRegularExpression relayStep(QStringLiteral("\\s\\d+$"));
    if (s_quiet || !relayStep.match(text).hasMatch())
        return;
    m_step = text;
    const int total = m_total > 0 ? m_total : RelayCount;
    if (Terminal::isTerminal(stderr))
        ProgressLine::shared().show(m_tag, m_step, m_done, total);
    else
        err(CliText::tr("%1 of %2...\n").arg(text).arg(total));
}

void TerminalView::setDone(int done, int total)
{
    m_done = done;
    m_total = total;
    if (s_quiet || m_step.isEmpty() || !Terminal::isTerminal(stderr))
        return;
    if (done < total)
        ProgressLine::shared().show(m_tag, m_step, done, total);
    else
        ProgressLine::shared().clear();
}

void TerminalView::summarize(const QString &text) const
{
    if (!s_quiet)
        err(text + u'\n');
}
