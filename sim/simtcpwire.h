#pragma once

#include "simwire.h"

class QTcpServer;
class QTcpSocket;

// The device served on TCP, one program at a time: a program that connects
// while another is on the line waits until that one leaves. Leaving is the
// hang-up; the device keeps its relays and its place in the menu for the
// next program, as a device whose adapter was pulled out does.
class SimTcpWire : public SimWire
{
    Q_OBJECT
public:
    // Port 0 takes a free one; address() tells which.
    SimTcpWire(const QString &host, quint16 port, QObject *parent = nullptr);
    ~SimTcpWire() override;

    bool open(QString *error) override;
    void close() override;
    QString address() const override;
    bool isConnected() const override { return m_client != nullptr; }
    QByteArray read() override;
    qint64 write(const char *data, qint64 size) override;
    qint64 unread() const override;
    void hangUp() override;

private:
    void takeClient();

    QString m_host;
    quint16 m_port = 0;
    QTcpServer *m_server = nullptr;
    QTcpSocket *m_client = nullptr;
};
