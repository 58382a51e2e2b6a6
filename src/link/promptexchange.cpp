#include "link/promptexchange.h"

#include "link/devicelink.h"
#include "base/failure.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cmath>

PromptExchange::PromptExchange(DeviceLink &link) : m_link(link) {}

Task<SendResult> PromptExchange::sendChar(char character, bool awaitEcho)
{
    DevicePort &port = m_link.port();
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    if (m_link.cancelled() && character != '\x1b')
        co_return SendResult::Cancelled;
    int discarded = 0;
    while (ring.RxCount() > 0) {
        while (ring.RxCount() > 0) {
            ring.ReadChar();
            if (++discarded > port.receiveBufferSize())
                co_return SendResult::Flooded;
        }
        // A line that keeps delivering meanwhile is flooding, not stale.
        co_await m_link.eventsRun();
    }
    QString error;
    ++m_charactersWritten;
    if (!port.write(QByteArray(1, character), &error))
        logFailure(Failure::PortWrite, QStringLiteral("SendChar"), 3, error);
    if (!awaitEcho)
        co_return SendResult::Sent;

    char echo = 0;
    bool echoed = false;
    {
        const WaitClock::Ticking ticking(clock);
        while (true) {
            if (ring.RxCount() > 0) {
                echo = ring.ReadChar();
                echoed = true;
                break;
            }
            if (!mayStillCome())
                break;
            co_await m_link.activity();
        }
    }

    if (!echoed && m_link.cancelled())
        co_return SendResult::Cancelled;
    // A line that went away is said to have gone; telling the user to check
    // the line settings and power would send them the wrong way.
    if (!echoed && m_link.port().lineLost())
        co_return SendResult::LineLost;
    if (!echoed) {
        if (m_statusSink)
            m_statusSink(timeoutText());
        co_return SendResult::NoEcho;
    }
    co_return echo == character ? SendResult::Sent : SendResult::WrongEcho;
}

Task<SendResult> PromptExchange::sendText(QByteArray text, bool awaitEcho)
{
    for (const char c : text) {
        Task<SendResult> send = sendChar(c, awaitEcho);
        const SendResult sent = co_await send;
        if (sent != SendResult::Sent)
            co_return sent;
    }
    co_return SendResult::Sent;
}

Task<PromptResult> PromptExchange::waitForPrompt(QByteArray &text, QByteArray prompt)
{
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    bool seen = text.contains(prompt);
    {
        const WaitClock::Ticking ticking(clock);
        while (!seen) {
            if (ring.RxCount() > 0) {
                text.append(ring.ReadChar());
                // Only the character just taken can complete the prompt.
                seen = text.endsWith(prompt);
                continue;
            }
            if (!mayStillCome())
                break;
            co_await m_link.activity();
        }
    }
    if (seen) {
        ++m_promptsSeen;
        co_return PromptResult::Seen;
    }
    if (m_link.cancelled())
        co_return PromptResult::Cancelled;
    co_return m_link.port().lineLost() ? PromptResult::LineLost : PromptResult::TimedOut;
}

Task<bool> PromptExchange::letLineFallQuiet()
{
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    // Runs for a tick's length from the last character heard.
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(clock.tickInterval());
    QObject::connect(&quiet, &QTimer::timeout, &m_link, &DeviceLink::wake);
    quiet.start();
    {
        const WaitClock::Ticking ticking(clock);
        while (mayStillCome()) {
            if (ring.RxCount() > 0) {
                ring.clear();
                quiet.start();
            }
            if (!quiet.isActive() && ring.RxCount() == 0)
                break;
            co_await m_link.activity();
        }
    }
    const bool timedOut = clock.TimerTicks() > clock.timeoutTicks();
    co_return !timedOut || m_link.cancelled() || m_link.port().lineEnded();
}

Task<bool> PromptExchange::pause(double milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 nanoseconds = qint64(std::ceil(milliseconds * 1e6));
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &m_link, &DeviceLink::wake);
    // A timer may fire a little early, and characters wake the step too:
    // the pause ends only when the time is up.
    for (qint64 left = nanoseconds - elapsed.nsecsElapsed(); left > 0 && !m_link.cancelled();
         left = nanoseconds - elapsed.nsecsElapsed()) {
        if (!timer.isActive())
            timer.start(int((left + 999999) / 1000000));
        co_await m_link.activity();
    }
    co_return !m_link.cancelled();
}

bool PromptExchange::mayStillCome() const
{
    // A lost line sends nothing more, but what it sent before still counts:
    // a wait that got what it waited for has not timed out. A port closed on
    // purpose, or a cancel, ends the wait at once.
    if (m_link.cancelled())
        return false;
    return !m_link.clock().waitExpired() || (m_link.port().lineLost() && m_link.ring().RxCount() > 0);
}
