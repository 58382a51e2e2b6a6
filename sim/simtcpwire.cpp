#include "simtcpwire.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace
{

// About what a serial server's buffer holds.
constexpr qint64 SendBuffer = 4096;

} // namespace

SimTcpWire::SimTcpWire(const QString &host, quint16 port, QObject *parent)
    : SimWire(parent), m_host(host), m_port(port)
{
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
    // One program at a time: the next waits in the system's queue, where
    // it cannot be taken for the one on the line.
    m_server->setMaxPendingConnections(1);
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
// sees every character the device sent before the line went dead.
void SimTcpWire::hangUp()
{
    if (!m_client)
        return;
    QTcpSocket *client = std::exchange(m_client, nullptr);
    client->disconnect(this);
    connect(client, &QAbstractSocket::disconnected, client, &QObject::deleteLater);
    client->disconnectFromHost();
    if (client->state() == QAbstractSocket::UnconnectedState)
        client->deleteLater();
    emit disconnected();
    if (m_server) {
        m_server->resumeAccepting();
        // A program that connected meanwhile may already be taken in.
        QMetaObject::invokeMethod(this, &SimTcpWire::takeClient, Qt::QueuedConnection);
    }
}

void SimTcpWire::takeClient()
{
    if (m_client || !m_server || !m_server->hasPendingConnections())
        return;
    m_client = m_server->nextPendingConnection();
    m_server->pauseAccepting();
    m_client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_client, &QIODevice::readyRead, this, &SimWire::readable);
    connect(m_client, &QIODevice::bytesWritten, this, &SimWire::writable);
    connect(m_client, &QAbstractSocket::disconnected, this, &SimTcpWire::hangUp);
    emit connected();
    if (m_client && m_client->bytesAvailable() > 0)
        emit readable();
}
