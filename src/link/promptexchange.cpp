#include "link/promptexchange.h"

#include "link/devicelink.h"
#include "base/failure.h"

#include <QCoreApplication>
#include <QTimer>

PromptExchange::PromptExchange(DeviceLink &link) : m_link(link) {}

bool PromptExchange::letEventsRun(bool somethingToDo)
{
    // A command started from a window event may run a whole dialogue of its
    // own here, taking the characters this wait expects.
    WaitClock &clock = m_link.clock();
    const quint64 waits = clock.waitsStarted();
    if (somethingToDo)
        QCoreApplication::processEvents();
    else
        clock.awaitActivity();
    return clock.waitsStarted() == waits;
}

qint16 PromptExchange::SendChar(char character, bool awaitEcho)
{
    qint16 result = -1;
    DevicePort &port = m_link.port();
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    int discarded = 0;
    while (ring.RxCount() > 0) {
        QCoreApplication::processEvents();
        ring.ReadChar();
        if (++discarded > port.receiveBufferSize())
            return 3;
    }
    QString error;
    if (!port.write(QByteArray(1, character), &error))
        logFailure(Failure::PortWrite, QStringLiteral("SendChar"), 3, error);
    if (!awaitEcho)
        return 0;

    QByteArray echo;
    bool ownLine = true;
    clock.startTicks();
    do {
        ownLine = letEventsRun(ring.RxCount() > 0);
        if (ownLine && ring.RxCount() > 0)
            echo = QByteArray(1, ring.ReadChar());
    } while (ownLine && echo.isEmpty() && mayStillCome());
    clock.stopTicks();

    // The echo went to the other dialogue: as a wrong echo, start again.
    if (!ownLine)
        return 2;
    if (echo.isEmpty()) {
        if (m_statusSink)
            m_statusSink(TimeoutText);
        return 1;
    }
    result = echo.at(0) == character ? 0 : 2;
    return result;
}

qint16 PromptExchange::SendString(const QByteArray &text, bool awaitEcho)
{
    for (const char c : text) {
        const qint16 sent = SendChar(c, awaitEcho);
        if (sent == 0)
            continue;
        if (sent < 0)
            return 1;
        switch (sent) {
        case 1:
            return 2;
        case 2:
            return 3;
        case 3:
            return 4;
        default:
            return 5;
        }
    }
    return 0;
}

qint16 PromptExchange::GetString(QByteArray &text, const QByteArray &prompt)
{
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    clock.startTicks();
    bool seen = text.contains(prompt);
    bool ownLine = true;
    do {
        if (ring.RxCount() > 0) {
            text.append(ring.ReadChar());
            // Only the character just taken can complete the prompt.
            seen = seen || text.endsWith(prompt);
        }
        ownLine = letEventsRun(seen || ring.RxCount() > 0);
    } while (ownLine && !seen && mayStillCome());
    clock.stopTicks();
    if (seen)
        return 0;
    return ownLine ? 1 : 2;
}

void PromptExchange::letLineFallQuiet()
{
    ReceiveRing &ring = m_link.ring();
    WaitClock &clock = m_link.clock();
    // Runs for a tick's length from the last character heard.
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(clock.tickInterval());
    QObject::connect(&quiet, &QTimer::timeout, &clock, &WaitClock::wake);
    quiet.start();
    clock.startTicks();
    bool ownLine = true;
    do {
        if (ring.RxCount() > 0) {
            ring.clear();
            quiet.start();
        }
        ownLine = letEventsRun(false);
    } while (ownLine && (quiet.isActive() || ring.RxCount() > 0) && mayStillCome());
    clock.stopTicks();
}

bool PromptExchange::mayStillCome() const
{
    // A lost line sends nothing more, but what it sent before still counts:
    // a wait that got what it waited for has not timed out. A port closed on
    // purpose ends the wait at once.
    return !m_link.clock().waitExpired() || (m_link.port().lineLost() && m_link.ring().RxCount() > 0);
}
