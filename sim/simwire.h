#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

// The device's end of the line: a pseudo-terminal's master, or a TCP
// connection for systems that have no pseudo-terminals (and for anyone who
// asks for one). Lives and is used on the simulator's own thread.
class SimWire : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Sets the line up. False, with a reason, when it cannot.
    virtual bool open(QString *error) = 0;
    // Takes the line down for good.
    virtual void close() = 0;
    // What a program opens to reach the device: a terminal's path or tcp://HOST:PORT.
    virtual QString address() const = 0;
    // Whether a program is at the other end to hear what is written.
    virtual bool isConnected() const = 0;

    // Everything that has arrived.
    virtual QByteArray read() = 0;
    // Writes as much as the line takes now: the count, 0 when it is full
    // (writable() follows when it takes more), -1 when the line is gone.
    virtual qint64 write(const char *data, qint64 size) = 0;
    // Characters written that the program has not taken yet.
    virtual qint64 unread() const = 0;
    // Drops the program's end, as an unplugged adapter does. A terminal is
    // gone after it; a TCP line takes the next program that connects.
    virtual void hangUp() = 0;

signals:
    void readable();
    void writable();
    // A program came to the line or left it (TCP only: a terminal's other
    // end is always there).
    void connected();
    void disconnected();
};

// The line a simulated device has where nothing else is asked for: a
// pseudo-terminal where the system has them, else TCP on 127.0.0.1.
std::unique_ptr<SimWire> makeSystemWire();
