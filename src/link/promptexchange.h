#pragma once

#include "link/task.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

class DeviceLink;

// How sending a character (or a text, character by character) went. The
// numbers are the ones the old status codes had, for the log.
enum class SendResult {
    Sent = 0,      // sent, and when asked echoed
    NoEcho = 1,    // the echo did not come in time
    WrongEcho = 2, // another character came back (and was taken)
    Flooded = 3,   // more stale characters than the receive buffer holds; nothing sent
    Cancelled = 4, // the command was cancelled; nothing more goes out
    LineLost = 5,  // the line went away before the echo came
};

// How waiting for a prompt went.
enum class PromptResult { Seen, TimedOut, Cancelled, LineLost };

// The conversation with the device's character menu: send a character and
// check its echo, send a text, collect text up to an expected prompt, pause.
// Each is a step that suspends while it waits (for characters, the 100 ms
// tick, a lost line) and takes the characters one at a time, so that
// whatever follows a prompt stays in the ring for the next call.
class PromptExchange
{
    Q_DECLARE_TR_FUNCTIONS(PromptExchange)

public:
    static QString timeoutText()
    {
        return tr("Could not communicate with Tavik. Please check COM settings, power, and signal cables.");
    }

    explicit PromptExchange(DeviceLink &link);

    // Where the status text goes (the status box).
    void setStatusSink(std::function<void(const QString &)> sink) { m_statusSink = std::move(sink); }

    // The escape character goes out even after a cancel: it is what leaves
    // the device at its menu.
    Task<SendResult> sendChar(char character, bool awaitEcho);
    // Stops at the first character that does not go through.
    Task<SendResult> sendText(QByteArray text, bool awaitEcho);
    // Appends to text until it holds the prompt.
    Task<PromptResult> waitForPrompt(QByteArray &text, QByteArray prompt);
    // Drops what arrives until a whole tick passes without a character, the
    // wait's time is up or the line ends: the device's answer to escape
    // (its echo, a menu printed at its own pace) is then gone before the
    // next command character goes out. False when the wait's time ran out
    // with characters still coming: another device is talking on the line.
    Task<bool> letLineFallQuiet();
    // At least the given time; false when cancelled meanwhile.
    Task<bool> pause(double milliseconds);

    // Running counts, by which a dialogue tells how far an attempt got:
    // whether anything went out, and whether the device answered with a prompt.
    quint64 charactersWritten() const { return m_charactersWritten; }
    quint64 promptsSeen() const { return m_promptsSeen; }

private:
    // Whether the wait in progress may still get characters.
    bool mayStillCome() const;

    DeviceLink &m_link;
    std::function<void(const QString &)> m_statusSink;
    quint64 m_charactersWritten = 0;
    quint64 m_promptsSeen = 0;
};
