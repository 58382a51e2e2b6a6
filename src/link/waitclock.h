#pragma once

#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

// Times the waits for the device in ticks of 100 ms (TimerTicks), and lets
// a wait sleep until something happens instead of polling.
//
// Waits nest when a command starts inside another's wait: the inner wait
// counts from 0, and the outer one resumes its own count after it.
class WaitClock : public QObject
{
    Q_OBJECT
public:
    // A wait ends when TimerTicks exceeds this: at the 31st tick of 100 ms.
    static constexpr qint16 DefaultTimeoutTicks = 30;

    explicit WaitClock(QObject *parent = nullptr);

    qint16 TimerTicks() const { return m_timerTicks; }
    bool isTicking() const { return m_tick.isActive(); }
    void setTimeoutTicks(qint16 ticks) { m_timeoutTicks = ticks; }
    // Tests that sit through many timeouts shorten the tick; the device is always given 100 ms.
    void setTickInterval(int milliseconds) { m_tick.setInterval(milliseconds); }
    int tickInterval() const { return m_tick.interval(); }
    qint16 timeoutTicks() const { return m_timeoutTicks; }

    // Whether nothing more can arrive; every wait then ends at once.
    void setLineEnded(std::function<bool()> lineEnded) { m_lineEnded = std::move(lineEnded); }

    void startTicks();
    void stopTicks();
    // Whether the wait in progress is over: TimerTicks has passed the limit,
    // or the line has ended.
    bool waitExpired() const;
    // Counts the waits started so far: a wait that finds it changed when
    // events have run knows that another dialogue used the line meanwhile.
    quint64 waitsStarted() const { return m_waitsStarted; }

    // Sleeps in a nested event loop until wake() or the next tick; events
    // run meanwhile. For a wait that has nothing to read. When the
    // application is quitting (no event loop starts any more) the wait
    // counts as timed out.
    void awaitActivity();
    // Something a wait may be waiting for happened: characters arrived,
    // the line ended.
    void wake() { emit woken(); }

signals:
    void ticked();
    void woken();

private:
    QTimer m_tick;
    qint16 m_timerTicks = 0;
    qint16 m_timeoutTicks = DefaultTimeoutTicks;
    std::function<bool()> m_lineEnded;
    // The counts of the waits a nested one interrupted, innermost last.
    QList<qint16> m_outerTicks;
    bool m_waiting = false;
    quint64 m_waitsStarted = 0;
};
