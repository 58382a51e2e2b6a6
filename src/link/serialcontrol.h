#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

class PortDirectory;

// The serial control the dialogues talk through: a port number, open and
// close, the characters waiting, read and write, and an arrival signal, on
// a line fixed at 57600 baud, 8 data bits, no parity, 1 stop bit.
//
// A line that goes away (an adapter unplugged, a terminal hung up) is
// reported once by connectionLost(), after the port has been closed.
class SerialControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReceiveBufferSize = 1024;

    explicit SerialControl(const PortDirectory &ports, QObject *parent = nullptr);
    ~SerialControl() override;

    // Selects the port the next open uses. Fails while the port is open
    // (nothing changes) or when no port has the number (the next open fails).
    bool setCommPort(qint16 number, QString *error = nullptr);
    qint16 commPort() const { return m_commPort; }

    // Opens (and empties) or closes the port. Opening an open port or
    // closing a closed one fails.
    bool setPortOpen(bool open, QString *error = nullptr);
    bool portOpen() const;
    // How the last open failed (NoError after one that worked): what the
    // port access check is asked about.
    QSerialPort::SerialPortError lastOpenError() const { return m_lastOpenError; }
    QString lastOpenErrorText() const { return m_lastOpenErrorText; }

    qint64 inBufferCount() const;
    int inBufferSize() const { return ReceiveBufferSize; }

    // Takes the waiting characters, oldest first: all of them, or at most maxCount.
    QByteArray input(qint64 maxCount = -1);

    // Queues the characters for sending and starts them on their way at once.
    bool output(const QByteArray &text, QString *error = nullptr);

signals:
    void dataArrived();
    void connectionLost();

private:
    void onErrorOccurred(QSerialPort::SerialPortError error);

    const PortDirectory &m_ports;
    QSerialPort m_port;
    qint16 m_commPort = 1;
    QSerialPort::SerialPortError m_lastOpenError = QSerialPort::NoError;
    QString m_lastOpenErrorText;
    // What had arrived when the line was lost: still the device's answer.
    QByteArray m_arrivedBeforeLoss;
};
