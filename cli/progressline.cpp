#include "progressline.h"

#include "clitext.h"
#include "terminal.h"

#include <algorithm>

ProgressLine &ProgressLine::shared()
{
    static ProgressLine line(stderr);
    return line;
}

void ProgressLine::show(const QString &port, const QString &step, int done, int total)
{
    if (!m_elapsed.isValid())
        m_elapsed.start();
    m_ports[port] = {step, done, total};
    draw();
}

void ProgressLine::clear()
{
    if (!m_drawn)
        return;
    // Back to the start of the line, and everything from there on erased.
    std::fputs("\r\x1b[K", m_stream);
    std::fflush(m_stream);
    m_drawn = false;
}

void ProgressLine::draw()
{
    int done = 0;
    int total = 0;
    for (const Port &port : std::as_const(m_ports)) {
        done += port.done;
        total += port.total;
    }
    if (total <= 0)
        return;
    const QString count = m_ports.size() == 1
                              ? CliText::tr("%1 of %2").arg(m_ports.first().step).arg(total)
                              : CliText::tr("%1 ports: %2 of %3 relays").arg(m_ports.size()).arg(done).arg(total);
    const QString time = CliText::tr("%1 s").arg(double(m_elapsed.elapsed()) / 1000, 0, 'f', 1);
    // A line that wraps cannot be drawn again in place: the bar takes what
    // the width leaves, up to 30 columns, and goes when too little is left.
    const int columns = Terminal::columns(m_stream) - 1;
    const int width = std::min<int>(30, columns - int(count.size() + time.size()) - 6);
    QString line = count;
    if (width >= 5) {
        const int filled = width * std::min(done, total) / total;
        line += QStringLiteral("  [") + QString(filled, u'#') + QString(width - filled, u'-') + u']';
    }
    line += QStringLiteral("  ") + time;
    std::fputs(("\r" + line.left(columns) + "\x1b[K").toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
    m_drawn = true;
}
