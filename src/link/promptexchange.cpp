#include "link/promptexchange.h"

#include "link/devicelink.h"
#include "base/failure.h"

#include <QCoreApplication>

PromptExchange::PromptExchange(DeviceLink &link) : m_link(link) {}

bool PromptExchange::letEventsRun(bool somethingToDo)
{
    // A command started from a window event may run a whole dialogue of its
    // own here, taking the characters this wait expects.
    const quint64 waits = m_link.waitsStarted();
    if (somethingToDo)
        QCoreApplication::processEvents();
    else
        m_link.awaitActivity();
    return m_link.waitsStarted() == waits;
}

qint16 PromptExchange::SendChar(char character, bool awaitEcho)
{
    qint16 result = -1;
    SerialControl &port = m_link.comSerPort();
    int discarded = 0;
    while (m_link.RxCount() > 0) {
        QCoreApplication::processEvents();
        m_link.ReadChar();
        if (++discarded > port.inBufferSize())
            return 3;
    }
    QString error;
    if (!port.output(QByteArray(1, character), &error))
        logFailure(Failure::PortWrite, QStringLiteral("SendChar"), 3, error);
    if (!awaitEcho)
        return 0;

    QByteArray echo;
    bool ownLine = true;
    m_link.startTicks();
    do {
        ownLine = letEventsRun(m_link.RxCount() > 0);
        if (ownLine && m_link.RxCount() > 0)
            echo = QByteArray(1, m_link.ReadChar());
    } while (ownLine && echo.isEmpty() && !m_link.waitExpired());
    m_link.stopTicks();

    // The echo went to the other dialogue: as a wrong echo, start again.
    if (!ownLine)
        return 2;
    if (m_link.waitExpired()) {
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
    m_link.startTicks();
    bool seen = text.contains(prompt);
    bool ownLine = true;
    do {
        if (m_link.RxCount() > 0) {
            text.append(m_link.ReadChar());
            // Only the character just taken can complete the prompt.
            seen = seen || text.endsWith(prompt);
        }
        ownLine = letEventsRun(seen || m_link.RxCount() > 0);
    } while (ownLine && !seen && !m_link.waitExpired());
    m_link.stopTicks();
    if (!ownLine && !seen)
        return 2;
    return m_link.waitExpired() ? 1 : 0;
}
