#include "link/servercontrol.h"

#include "link/portdirectory.h"
#include "base/failure.h"

#include <QCoreApplication>

ServerControl::ServerControl(const PortDirectory &ports, QObject *parent) : PortChannel(parent), m_ports(ports)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no answer in %1 ms").arg(ConnectTimeoutMs)); });
}

ServerControl::~ServerControl()
{
    // No lost-line report while the control itself goes away, and no
    // connection made when the one closed last goes.
    if (m_socket)
        m_socket->disconnect(this);
    if (m_closing)
        m_closing->disconnect();
}

bool ServerControl::setCommPort(int number, QString *error)
{
    if (portOpen()) {
        if (error)
            *error = QStringLiteral("the port is open");
        return false;
    }
    m_commPort = number;
    m_address = serverAddress(m_ports.location(number));
    if (!m_address && error)
        *error = QStringLiteral("Com") + QString::number(number) + QStringLiteral(" names no serial server");
    return m_address.has_value();
}

bool ServerControl::setPortOpen(bool open, QString *error)
{
    if (open == portOpen()) {
        if (error)
            *error =
                open ? QStringLiteral("the port is already open") : QStringLiteral("the port is not open");
        return false;
    }
    m_received.clear();
    m_held.clear();
    if (!open) {
        releaseSocket();
        return true;
    }
    if (!m_address) {
        if (error)
            *error = QStringLiteral("Com") + QString::number(m_commPort);
        return false;
    }
    m_lossReason.clear();
    m_connected = false;
    m_telnet = TelnetClient{};
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, &ServerControl::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &ServerControl::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] { fail(m_socket->errorString()); });
    m_connectTimer.start();
    if (m_closing)
        connect(m_closing, &QObject::destroyed, m_socket, [this, socket = m_socket.data()] {
            if (m_socket == socket)
                connectToServer();
        });
    else
        connectToServer();
    return true;
}

void ServerControl::connectToServer()
{
    m_socket->connectToHost(m_address->host, m_address->port);
}

QByteArray ServerControl::input(qint64 maxCount)
{
    const QByteArray taken = m_received.left(maxCount < 0 ? m_received.size() : maxCount);
    m_received.remove(0, taken.size());
    return taken;
}

bool ServerControl::output(const QByteArray &text, QString *error)
{
    if (!portOpen()) {
        if (error)
            *error = QStringLiteral("the port is not open");
        return false;
    }
    if (!m_connected || (m_address->telnet && !m_telnet.settingsAnswered()))
        m_held += text;
    else
        send(m_address->telnet ? m_telnet.encode(text) : text);
    return true;
}

void ServerControl::send(const QByteArray &bytes)
{
    m_socket->write(bytes);
    // A dialogue may close the port right after its last character.
    m_socket->flush();
}

void ServerControl::onConnected()
{
    m_connectTimer.stop();
    m_connected = true;
    // The dialogue sends one character at a time and waits for its echo.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (m_address->telnet)
        send(m_telnet.opening());
    else if (!m_held.isEmpty())
        send(std::exchange(m_held, QByteArray()));
}

void ServerControl::onReadyRead()
{
    const QByteArray bytes = m_socket->readAll();
    QByteArray data = bytes;
    if (m_address->telnet) {
        QByteArray replies;
        data = m_telnet.receive(bytes, replies);
        if (m_telnet.settingsAnswered() && !m_held.isEmpty())
            replies += m_telnet.encode(std::exchange(m_held, QByteArray()));
        if (!replies.isEmpty())
            send(replies);
    }
    m_received += data;
    if (!data.isEmpty())
        emit dataArrived();
}

void ServerControl::fail(const QString &why)
{
    // Only the first report counts: the socket is let go with it.
    if (!m_socket)
        return;
    const QString where = m_address->hostAndPort();
    if (m_connected) {
        // What the server passed on before it closed is still the device's answer.
        if (m_socket->bytesAvailable() > 0)
            onReadyRead();
        logFailure(Failure::PortLost, QStringLiteral("portEvent"), 1, where + QStringLiteral(": ") + why);
    } else {
        m_lossReason =
            QCoreApplication::translate("ServerControl", "no serial server answers at %1").arg(where);
        logFailure(Failure::PortOpen, QStringLiteral("OpenSerPort"), 3,
                   QStringLiteral("no serial server answers at ") + where + QStringLiteral(": ") + why);
    }
    releaseSocket();
    emit connectionLost();
}

void ServerControl::releaseSocket()
{
    m_connectTimer.stop();
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    if (!socket)
        return;
    socket->disconnect(this);
    m_closing = socket;
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(CloseDelayMs, socket, [socket] {
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
    });
    // A server that takes nothing more does not keep it forever.
    QTimer::singleShot(CloseDelayMs + ConnectTimeoutMs, socket, &QObject::deleteLater);
}
