#pragma once

#include "simwire.h"

#include <QList>

class QTcpServer;
class QTcpSocket;
class QTimer;

// The device served on TCP, one program at a time: a program that connects
// while another is on the line is told at once that the device is busy, and
// let go. Leaving is the hang-up; the device keeps its relays and its place
// in the menu for the next program, as a device whose adapter was pulled out
// does. A program that sends nothing for idleMs is hung up on, so that it
// cannot hold the device for good.
class SimTcpWire : public SimWire
{
    Q_OBJECT
public:
    // What a program that finds the device busy is told, before the line closes.
    static constexpr char BusyLine[] = "busy: another program is connected\r\n";

    // Port 0 takes a free one; address() tells which. idleMs 0: no program is hung up for its silence.
    SimTcpWire(const QString &host, quint16 port, int idleMs, QObject *parent = nullptr);
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
    void turnAway(QTcpSocket *socket);

    QString m_host;
    quint16 m_port = 0;
    QTcpServer *m_server = nullptr;
    QTcpSocket *m_client = nullptr;
    QList<QTcpSocket *> m_waiting; // came while the device was busy
    QTimer *m_idle = nullptr;
};
