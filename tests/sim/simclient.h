#pragma once

#include <QByteArray>
#include <QSerialPort>
#include <QString>

// The program's end of the line in the simulator's tests: a real serial port
// on the simulator's terminal at 57600 8N1, with small waits that block on
// the port's signals until the text looked for has arrived.
class SimClient
{
public:
    explicit SimClient(const QString &portPath);

    bool isOpen() const { return m_port.isOpen(); }
    QSerialPort &port() { return m_port; }

    void send(const QByteArray &bytes);
    // Waits until the text has arrived and returns everything received up to
    // and including it (taken); empty when it does not come in time.
    QByteArray awaitText(const QByteArray &text, int timeoutMs = 3000);
    // Waits until this many characters have arrived and takes them.
    QByteArray awaitCount(int count, int timeoutMs = 3000);
    // Lets the line run for a while and takes whatever came.
    QByteArray collectFor(int ms);
    // Everything that arrived and was not taken yet.
    QByteArray takeAll();
    int arrivals() const { return m_arrivals; }

private:
    QSerialPort m_port;
    QByteArray m_buffer;
    int m_arrivals = 0;
};
