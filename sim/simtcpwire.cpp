#include "simtcpwire.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace
{

// About what a serial server's buffer holds.
constexpr qint64 SendBuffer = 4096;
// What waits here unread from a program; TCP holds the rest back.
constexpr qint64 ReceiveBuffer = 4096;
// A program that left just as the next came is still on its way out: the
// next is turned away only when the line is still taken after this.
constexpr int BusyGraceMs = 200;

} // namespace

SimTcpWire::SimTcpWire(const QString &host, quint16 port, int idleMs, QObject *parent)
    : SimWire(parent), m_host(host), m_port(port), m_idle(new QTimer(this))
{
    m_idle->setSingleShot(true);
    m_idle->setInterval(idleMs);
    connect(m_idle, &QTimer::timeout, this, &SimTcpWire::hangUp);
}

SimTcpWire::~SimTcpWire()
{
    close();
}

bool SimTcpWire::open(QString *error)
{
    close();
    QHostAddress host;
    if (m_host == QLatin1String("localhost"))
        host = QHostAddress::LocalHost;
    else if (!host.setAddress(m_host)) {
        *error = QCoreApplication::translate("SimTcpWire", "%1 is not an IP address").arg(m_host);
        return false;
    }
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &SimTcpWire::takeClient);
    if (!m_server->listen(host, m_port)) {
        *error = m_server->errorString();
        close();
        return false;
    }
    return true;
}

void SimTcpWire::close()
{
    hangUp();
    for (QTcpSocket *socket : std::exchange(m_waiting, {}))
        socket->abort();
    delete m_server;
    m_server = nullptr;
}

QString SimTcpWire::address() const
{
    if (!m_server)
        return {};
    const QHostAddress host = m_server->serverAddress();
    const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
                             : host.toString();
    return QStringLiteral("tcp://%1:%2").arg(name).arg(m_server->serverPort());
}

QByteArray SimTcpWire::read()
{
    return m_client ? m_client->readAll() : QByteArray();
}

qint64 SimTcpWire::write(const char *data, qint64 size)
{
    if (!m_client)
        return -1;
    // The socket would buffer without end; a flood must meet a full line.
    if (m_client->bytesToWrite() >= SendBuffer)
        return 0;
    const qint64 written = m_client->write(data, size);
    // Each piece leaves now, as the serial line would send it, and not
    // together with the next when the thread comes round again.
    m_client->flush();
    return written;
}

qint64 SimTcpWire::unread() const
{
    return m_client ? m_client->bytesToWrite() : 0;
}

// What was written still leaves before the connection closes: a program
// sees every character the device sent before the line went dead, unless
// it has stopped taking them.
void SimTcpWire::hangUp()
{
    m_idle->stop();
    if (!m_client)
        return;
    QTcpSocket *client = std::exchange(m_client, nullptr);
    client->disconnect(this);
    connect(client, &QAbstractSocket::disconnected, client, &QObject::deleteLater);
    // A program that takes nothing would keep a closing connection open for good.
    if (client->bytesToWrite() >= SendBuffer)
        client->abort();
    else
        client->disconnectFromHost();
    if (client->state() == QAbstractSocket::UnconnectedState)
        client->deleteLater();
    emit disconnected();
    // A program that came meanwhile and is still waiting is taken in.
    if (m_server)
        QMetaObject::invokeMethod(this, &SimTcpWire::takeClient, Qt::QueuedConnection);
}

void SimTcpWire::takeClient()
{
    while (m_server && m_server->hasPendingConnections()) {
        QTcpSocket *socket = m_server->nextPendingConnection();
        socket->setReadBufferSize(ReceiveBuffer);
        connect(socket, &QAbstractSocket::disconnected, this, [this, socket] {
            m_waiting.removeOne(socket);
            socket->deleteLater();
        });
        m_waiting << socket;
        if (m_client)
            QTimer::singleShot(BusyGraceMs, socket, [this, socket] { turnAway(socket); });
    }
    if (m_client || m_waiting.isEmpty())
        return;
    m_client = m_waiting.takeFirst();
    m_client->disconnect(this);
    m_client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_client, &QIODevice::readyRead, this, &SimWire::readable);
    if (m_idle->interval() > 0)
        connect(m_client, &QIODevice::readyRead, m_idle, qOverload<>(&QTimer::start));
    connect(m_client, &QIODevice::bytesWritten, this, &SimWire::writable);
    connect(m_client, &QAbstractSocket::disconnected, this, &SimTcpWire::hangUp);
    if (m_idle->interval() > 0)
        m_idle->start();
    emit connected();
    if (m_client && m_client->bytesAvailable() > 0)
        emit readable();
}

void SimTcpWire::turnAway(QTcpSocket *socket)
{
    if (!m_waiting.removeOne(socket))
        return;
    socket->write(BusyLine);
    socket->disconnectFromHost();
}
