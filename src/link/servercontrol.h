#pragma once

#include "link/portchannel.h"
#include "link/serveraddress.h"
#include "link/telnetclient.h"

#include <QAbstractSocket>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <optional>

class PortDirectory;

// The dialogues' line on a serial server reached over the network: opening
// the port connects to the server, closing it ends the connection. Raw
// servers pass the characters through; telnet servers get the line settings
// through RFC 2217 before the first character, and their escaping is undone.
//
// A server that does not take the connection within ConnectTimeoutMs, or
// refuses it, ends the line with lossReason() naming it; a server that closes
// an established connection is a lost line as a hung-up cable is.
//
// What a server sends is untrusted: at most ReceiveBufferSize characters wait
// here and SocketBufferSize bytes in the socket (a flooding server is then
// held back by TCP itself), the socket is read in slices of that size on
// separate passes of the event loop so that the waits' timers keep their
// time, and a server that breaks the telnet rules, will not set the line or
// takes nothing sent to it ends the line with lossReason() saying so.
class ServerControl : public PortChannel
{
    Q_OBJECT
public:
    // Below the dialogue's first wait (50 ms and 31 ticks of 100 ms), so that
    // an unreachable server is named before that wait gives up.
    static constexpr int ConnectTimeoutMs = 2500;
    // How long a closed connection stays up so that the server can pass the
    // last characters on before it closes the device behind them.
    static constexpr int CloseDelayMs = 10;
    // What the socket may hold that has not been taken yet.
    static constexpr int SocketBufferSize = 4096;
    // What may wait to go out to a server that reads nothing.
    static constexpr int MaxUnsentBytes = 16384;

    explicit ServerControl(const PortDirectory &ports, QObject *parent = nullptr);
    ~ServerControl() override;

    bool setCommPort(int number, QString *error = nullptr) override;
    int commPort() const override { return m_commPort; }
    bool setPortOpen(bool open, QString *error = nullptr) override;
    bool portOpen() const override { return m_socket != nullptr; }
    qint64 inBufferCount() const override { return m_received.size(); }
    QByteArray input(qint64 maxCount = -1) override;
    bool output(const QByteArray &text, QString *error = nullptr) override;
    QString lossReason() const override { return m_lossReason; }

private:
    void connectToServer();
    void onConnected();
    // Takes from the socket what fits among the characters waiting, or
    // everything it holds when the connection is ending.
    void take(bool everything = false);
    void takeLater();
    void onTimeout();
    // The connection failed or went away: the line is lost. reason is what
    // the user is told, when the usual lost-line words would mislead.
    void fail(const QString &why, const QString &reason = {});
    // What a connection that never came about is reported as, where the
    // socket's error says more than that no server answered.
    QString connectionRefusal(QAbstractSocket::SocketError error) const;
    void send(const QByteArray &bytes);
    // Lets the connection go: what is still queued goes out in the background,
    // and the connection ends CloseDelayMs later.
    void releaseSocket();

    const PortDirectory &m_ports;
    int m_commPort = 1;
    std::optional<ServerAddress> m_address;
    QPointer<QTcpSocket> m_socket;
    // The connection closed last, until it has gone: a server that serves
    // one client at a time turns the next one away while it stands.
    QPointer<QTcpSocket> m_closing;
    QTimer m_connectTimer;
    bool m_connected = false;
    bool m_heard = false; // the server has sent something on this connection
    bool m_takePosted = false;
    TelnetClient m_telnet;
    // The tool's characters until the connection stands and, on a telnet
    // server, until it has answered every line setting.
    QByteArray m_held;
    QByteArray m_received;
    QString m_lossReason;
};
