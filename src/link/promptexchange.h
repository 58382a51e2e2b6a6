#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class DeviceLink;

// The conversation with the device's character menu: send a character and
// check its echo, send a text, collect text up to an expected prompt. Every
// wait sleeps on events (arrivals, the 100 ms tick, a lost line) and takes
// at most one character per pass, so whatever follows a prompt stays in
// the ring for the next call.
class PromptExchange
{
public:
    static inline const QString TimeoutText = QStringLiteral(
        "Could not communicate with Tavik. Please check COM settings, power, and signal cables.");

    explicit PromptExchange(DeviceLink &link);

    // Where the status text goes (the status box).
    void setStatusSink(std::function<void(const QString &)> sink) { m_statusSink = std::move(sink); }

    // 0 sent (and echoed); 1 no echo in time; 2 another character came back,
    // or another dialogue took the line while the echo was awaited;
    // 3 more stale characters than the receive buffer holds, nothing sent.
    qint16 SendChar(char character, bool awaitEcho);
    // 0 all sent; 1..5 the first failing SendChar's -1/1/2/3/other.
    qint16 SendString(const QByteArray &text, bool awaitEcho);
    // Appends to text until it holds the prompt: 0 seen, 1 timeout, 2 another
    // dialogue took the line meanwhile (what it left is not this one's text).
    qint16 GetString(QByteArray &text, const QByteArray &prompt);
    // Drops what arrives until a whole tick passes without a character, the
    // wait's time is up or the line ends: the device's answer to escape
    // (its echo, a menu printed at its own pace) is then gone before the
    // next command character goes out. A flooding line never falls quiet;
    // the next SendChar then finds it flooding.
    void letLineFallQuiet();

private:
    // Lets events run; false when a wait of another dialogue ran among them.
    bool letEventsRun(bool somethingToDo);
    // Whether the wait in progress may still get characters.
    bool mayStillCome() const;

    DeviceLink &m_link;
    std::function<void(const QString &)> m_statusSink;
};
