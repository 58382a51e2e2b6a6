#pragma once

#include "link/deviceport.h"
#include "link/receivering.h"
#include "link/waitclock.h"

#include <QObject>

#include <coroutine>

// One end of the serial line: the port, the ring that collects what arrives
// on it, and the clock that times every wait, wired together; and the one
// step of a dialogue that waits on them.
//
// A waiting step suspends on activity() and is resumed, from the event loop,
// by whatever may concern it: characters, a tick, the line ending, a timer
// of its own, or a cancel. It then looks again at what it waits for, so a
// wake that concerns it not is harmless.
class DeviceLink : public QObject
{
    Q_OBJECT
public:
    explicit DeviceLink(QObject *parent = nullptr);
    ~DeviceLink() override;

    DevicePort &port() { return m_port; }
    ReceiveRing &ring() { return m_ring; }
    WaitClock &clock() { return m_clock; }

    // The one step that waits on the link registers here while it waits,
    // and no longer than its wait lives: a coroutine destroyed mid-wait
    // leaves nothing behind to be resumed.
    class Activity
    {
    public:
        explicit Activity(DeviceLink &link) : m_link(link) {}
        Activity(const Activity &) = delete;
        Activity &operator=(const Activity &) = delete;
        ~Activity()
        {
            if (m_waiting && m_link.m_waiting == m_waiting)
                m_link.m_waiting = {};
        }
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiting) noexcept
        {
            // One command runs on a link, and one dialogue in it: a second
            // waiter would be a step started beside the session's.
            Q_ASSERT(!m_link.m_waiting);
            m_link.m_waiting = m_waiting = waiting;
        }
        void await_resume() const noexcept {}

    private:
        DeviceLink &m_link;
        std::coroutine_handle<> m_waiting;
    };
    // Suspends the step until something happens on the link.
    Activity activity() { return Activity(*this); }
    // Whether a step waits to be resumed.
    bool stepWaits() const { return bool(m_waiting); }
    // Resumes the waiting step from the event loop, after the event at hand
    // has been handled; never from inside the step itself.
    void wake();
    // Lets the events already queued run before the waiting step goes on.
    Activity eventsRun();

    // A cancel ends every wait at once; the dialogue then leaves the device
    // at its menu. It holds until clearCancel().
    void cancel();
    void clearCancel() { m_cancelled = false; }
    bool cancelled() const { return m_cancelled; }

    // Whether the device may be inside a command rather than at its menu:
    // so at the start, when an earlier run may have left it anywhere, and
    // after the line was lost halfway through a dialogue. Every dialogue on
    // the link reads and keeps it.
    bool menuInDoubt() const { return m_menuInDoubt; }
    void setMenuInDoubt(bool inDoubt) { m_menuInDoubt = inDoubt; }

private:
    void resumeWaiting();

    DevicePort m_port;
    ReceiveRing m_ring;
    WaitClock m_clock;
    std::coroutine_handle<> m_waiting;
    bool m_resumePosted = false;
    bool m_cancelled = false;
    bool m_menuInDoubt = true;
};
