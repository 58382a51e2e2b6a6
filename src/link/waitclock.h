#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Times the waits for the device in ticks of 100 ms (TimerTicks). One wait
// runs at a time: it restarts the count when it begins and stops the tick
// when it ends.
class WaitClock : public QObject
{
    Q_OBJECT
public:
    // A wait ends when TimerTicks exceeds this: at the 31st tick of 100 ms.
    static constexpr int DefaultTimeoutTicks = 30;

    explicit WaitClock(QObject *parent = nullptr);

    int TimerTicks() const { return m_timerTicks; }
    bool isTicking() const { return m_tick.isActive(); }
    void setTimeoutTicks(int ticks) { m_timeoutTicks = ticks; }
    int timeoutTicks() const { return m_timeoutTicks; }
    // Tests that sit through many timeouts shorten the tick; the device is always given 100 ms.
    void setTickInterval(int milliseconds) { m_tick.setInterval(milliseconds); }
    int tickInterval() const { return m_tick.interval(); }

    // Whether nothing more can arrive; every wait then ends at once.
    void setLineEnded(std::function<bool()> lineEnded) { m_lineEnded = std::move(lineEnded); }

    // One wait's ticks: counted from 0 while it lives, stopped when it goes,
    // however the wait ends (a coroutine destroyed mid-wait included).
    class Ticking
    {
    public:
        explicit Ticking(WaitClock &clock) : m_clock(clock) { m_clock.startTicks(); }
        ~Ticking() { m_clock.stopTicks(); }
        Ticking(const Ticking &) = delete;
        Ticking &operator=(const Ticking &) = delete;

    private:
        WaitClock &m_clock;
    };
    // Whether the wait in progress is over: TimerTicks has passed the limit,
    // or the line has ended.
    bool waitExpired() const;

signals:
    void ticked();

private:
    void startTicks();
    void stopTicks();

    QTimer m_tick;
    int m_timerTicks = 0;
    int m_timeoutTicks = DefaultTimeoutTicks;
    std::function<bool()> m_lineEnded;
};
