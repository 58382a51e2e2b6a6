#include "link/servercontrol.h"

#include "link/portdirectory.h"
#include "base/failure.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>

ServerControl::ServerControl(const PortDirectory &ports, QObject *parent) : PortChannel(parent), m_ports(ports)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, &ServerControl::onTimeout);
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
    m_connected = m_heard = false;
    m_telnet = TelnetClient{};
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(SocketBufferSize);
    connect(m_socket, &QTcpSocket::connected, this, &ServerControl::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, [this] { take(); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        fail(m_socket->errorString(), connectionRefusal(error));
    });
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
    // What the socket still holds comes in now that there is room for it.
    if (!taken.isEmpty())
        takeLater();
    return taken;
}

bool ServerControl::output(const QByteArray &text, QString *error)
{
    if (!portOpen()) {
        if (error)
            *error = QStringLiteral("the port is not open");
        return false;
    }
    if (!m_connected || (m_address->telnet && !m_telnet.settingsAnswered())) {
        if (m_held.size() + text.size() > MaxUnsentBytes) {
            if (error)
                *error = QStringLiteral("%1 characters already wait for the serial server").arg(m_held.size());
            return false;
        }
        m_held += text;
    } else {
        send(m_address->telnet ? m_telnet.encode(text) : text);
    }
    return true;
}

void ServerControl::send(const QByteArray &bytes)
{
    if (m_socket->bytesToWrite() + bytes.size() > MaxUnsentBytes) {
        fail(QStringLiteral("%1 bytes unsent").arg(m_socket->bytesToWrite()),
             tr("the serial server at %1 takes nothing that is sent to it").arg(m_address->hostAndPort()));
        return;
    }
    m_socket->write(bytes);
    // A dialogue may close the port right after its last character.
    m_socket->flush();
}

void ServerControl::onConnected()
{
    m_connected = true;
    // The timer runs on for a telnet server: its answers to the line
    // settings are due within the same time.
    if (!m_address->telnet)
        m_connectTimer.stop();
    // The dialogue sends one character at a time and waits for its echo.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (m_address->telnet)
        send(m_telnet.opening());
    else if (!m_held.isEmpty())
        send(std::exchange(m_held, QByteArray()));
}

void ServerControl::onTimeout()
{
    const QString where = m_address->hostAndPort();
    if (!m_connected)
        fail(QStringLiteral("no answer in %1 ms").arg(ConnectTimeoutMs));
    else
        fail(QStringLiteral("the line settings unanswered in %1 ms").arg(ConnectTimeoutMs),
             tr("the serial server at %1 never answered the line settings (RFC 2217)").arg(where));
}

void ServerControl::takeLater()
{
    if (m_takePosted || !m_socket || m_socket->bytesAvailable() == 0)
        return;
    m_takePosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_takePosted = false;
            take();
        },
        Qt::QueuedConnection);
}

void ServerControl::take(bool everything)
{
    if (!m_socket)
        return;
    const qint64 room = everything ? m_socket->bytesAvailable() : ReceiveBufferSize - m_received.size();
    const QByteArray bytes = m_socket->read(std::max<qint64>(room, 0));
    if (bytes.isEmpty())
        return;
    QByteArray replies;
    const QByteArray data = m_address->telnet ? m_telnet.receive(bytes, replies) : bytes;
    // A simulator that serves another program says so first, and closes.
    if (!std::exchange(m_heard, true) && data.startsWith("busy: another program is connected")) {
        fail(QStringLiteral("busy"), tr("the serial server at %1 is busy: another program is connected")
                                         .arg(m_address->hostAndPort()));
        return;
    }
    // Kept before anything is answered: an answer to a server that has
    // closed ends the line.
    m_received += data;
    if (!data.isEmpty())
        emit dataArrived();
    if (m_address->telnet && m_socket) {
        const QString where = m_address->hostAndPort();
        switch (m_telnet.fault()) {
        case TelnetClient::Fault::None:
            break;
        case TelnetClient::Fault::SettingsRefused:
            fail(QStringLiteral("the line settings refused"),
                 tr("the serial server at %1 does not set the line to 57600 baud, 8 data bits, no parity, "
                    "1 stop bit (RFC 2217)")
                     .arg(where));
            return;
        case TelnetClient::Fault::EndlessCommands:
            fail(QStringLiteral("telnet commands without end"),
                 tr("the serial server at %1 sends telnet commands without end").arg(where));
            return;
        }
        if (m_telnet.settingsAnswered()) {
            m_connectTimer.stop();
            replies += m_telnet.encode(std::exchange(m_held, QByteArray()));
        }
        if (!replies.isEmpty())
            send(replies);
    }
    // What is left is taken on a later pass: a flood leaves the timers their turn.
    if (!everything && m_received.size() < ReceiveBufferSize)
        takeLater();
}

QString ServerControl::connectionRefusal(QAbstractSocket::SocketError error) const
{
    // Said at once and plainly: no device was ever asked anything, so there
    // is nothing to wait out and no cable to check.
    if (m_connected)
        return {};
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return tr("the serial server at %1 refused the connection").arg(m_address->hostAndPort());
    case QAbstractSocket::HostNotFoundError:
        return tr("cannot find host %1").arg(m_address->host);
    default:
        return {};
    }
}

void ServerControl::fail(const QString &why, const QString &reason)
{
    // Only the first report counts: the socket is let go with it.
    if (!m_socket)
        return;
    const QString where = m_address->hostAndPort();
    m_lossReason =
        reason.isEmpty() && !m_connected ? tr("no serial server answers at %1").arg(where) : reason;
    if (m_lossReason.isEmpty()) {
        // What the server passed on before it closed is still the device's answer.
        take(true);
        if (!m_socket)
            return;
        logFailure(Failure::PortLost, QStringLiteral("portEvent"), 1, where + QStringLiteral(": ") + why);
    } else if (m_connected) {
        logFailure(Failure::PortLost, QStringLiteral("portEvent"), 1,
                   m_lossReason + QStringLiteral(": ") + why);
    } else {
        logFailure(Failure::PortOpen, QStringLiteral("OpenSerPort"), 3,
                   m_lossReason + QStringLiteral(": ") + why);
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
