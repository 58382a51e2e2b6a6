#pragma once

#include "link/portchannel.h"

#include <QSerialPort>

class PortDirectory;

// The dialogues' line on a serial device of this computer, through the
// port directory's numbers.
//
// A line that goes away (an adapter unplugged, a terminal hung up) is
// reported once by connectionLost(), after the port has been closed.
class SerialControl : public PortChannel
{
    Q_OBJECT
public:
    explicit SerialControl(const PortDirectory &ports, QObject *parent = nullptr);
    ~SerialControl() override;

    bool setCommPort(int number, QString *error = nullptr) override;
    int commPort() const override { return m_commPort; }
    bool setPortOpen(bool open, QString *error = nullptr) override;
    bool portOpen() const override;
    qint64 inBufferCount() const override;
    QByteArray input(qint64 maxCount = -1) override;
    bool output(const QByteArray &text, QString *error = nullptr) override;
    // How the last open failed (NoError after one that worked): what the
    // port access check is asked about.
    QSerialPort::SerialPortError lastOpenError() const { return m_lastOpenError; }
    QString lastOpenErrorText() const { return m_lastOpenErrorText; }

private:
    void onErrorOccurred(QSerialPort::SerialPortError error);

    const PortDirectory &m_ports;
    QSerialPort m_port;
    int m_commPort = 1;
    QSerialPort::SerialPortError m_lastOpenError = QSerialPort::NoError;
    QString m_lastOpenErrorText;
    // What had arrived when the line was lost: still the device's answer.
    QByteArray m_arrivedBeforeLoss;
};
