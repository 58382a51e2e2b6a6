#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// What the dialogues need of a line to the device, whatever carries it: a
// port number, open and close, the characters waiting, read and write, and an
// arrival signal, on a line of 57600 baud, 8 data bits, no parity, 1 stop bit.
// A serial device (SerialControl) and a serial server reached over the network
// (ServerControl) each offer it; DevicePort picks one by the port's name.
//
// A line that goes away is reported once by connectionLost(), after the
// channel has closed; what had arrived before it can still be read.
class PortChannel : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReceiveBufferSize = 1024;

    using QObject::QObject;

    // Selects the port the next open uses. Fails while the port is open
    // (nothing changes) or when no port has the number (the next open fails).
    virtual bool setCommPort(int number, QString *error = nullptr) = 0;
    virtual int commPort() const = 0;

    // Opens (and empties) or closes the port. Opening an open port or
    // closing a closed one fails.
    virtual bool setPortOpen(bool open, QString *error = nullptr) = 0;
    virtual bool portOpen() const = 0;

    virtual qint64 inBufferCount() const = 0;
    int inBufferSize() const { return ReceiveBufferSize; }

    // Takes the waiting characters, oldest first: all of them, or at most maxCount.
    virtual QByteArray input(qint64 maxCount = -1) = 0;

    // Queues the characters for sending and starts them on their way at once.
    virtual bool output(const QByteArray &text, QString *error = nullptr) = 0;

    // What the user is told when the line went away before it ever carried
    // anything, or for a fault of a serial server's own; empty when the
    // usual lost-line text says it.
    virtual QString lossReason() const { return {}; }

signals:
    void dataArrived();
    void connectionLost();
};
