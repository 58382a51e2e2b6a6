#include "link/waitclock.h"

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
    m_timerTicks = 0;
    m_tick.start();
}

void WaitClock::stopTicks()
{
    m_tick.stop();
}

bool WaitClock::waitExpired() const
{
    return m_timerTicks > m_timeoutTicks || (m_lineEnded && m_lineEnded());
}
