#include "link/waitclock.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>

WaitClock::WaitClock(QObject *parent) : QObject(parent)
{
    m_tick.setInterval(100);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        ++m_timerTicks;
        emit ticked();
    });
}

void WaitClock::startTicks()
{
    if (m_waiting)
        m_outerTicks.append(m_timerTicks);
    m_waiting = true;
    ++m_waitsStarted;
    m_timerTicks = 0;
    m_tick.start();
}

void WaitClock::stopTicks()
{
    if (!m_outerTicks.isEmpty()) {
        // The interrupted wait goes on with its own count and its tick.
        m_timerTicks = m_outerTicks.takeLast();
        return;
    }
    m_waiting = false;
    m_tick.stop();
}

bool WaitClock::waitExpired() const
{
    return m_timerTicks > m_timeoutTicks || (m_lineEnded && m_lineEnded());
}

void WaitClock::awaitActivity()
{
    if (waitExpired())
        return;
    // Without the tick nothing would end a wait on a silent line.
    if (!m_tick.isActive()) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    connect(this, &WaitClock::woken, &loop, &QEventLoop::quit);
    connect(this, &WaitClock::ticked, &loop, &QEventLoop::quit);
    // exec() refuses to start while the application quits; asking again
    // would spin, so the wait is over as if its time were up.
    if (loop.exec() < 0)
        m_timerTicks = std::max(m_timerTicks, qint16(m_timeoutTicks + 1));
}
