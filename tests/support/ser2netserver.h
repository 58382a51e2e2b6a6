#pragma once

#include <QProcess>
#include <QString>

// A real ser2net serving one serial device on 127.0.0.1, at a free port, in
// raw mode or as a telnet server with RFC 2217, for as long as it lives.
// The telnet one sets the device to 9600 baud, 7 data bits, even parity,
// 2 stop bits and both kinds of flow control itself, so a client that does
// not set every one of them leaves it so.
class Ser2netServer
{
public:
    ~Ser2netServer() { stop(); }

    // Starts it and waits until it takes connections. False, with the reason,
    // when ser2net is missing or does not come up.
    bool start(const QString &device, bool telnet, QString *error);
    // Ends it at once, as a server that goes down does.
    void stop();

    // What --port names it by: "tcp://127.0.0.1:PORT" or "rfc2217://127.0.0.1:PORT".
    QString address() const;
    quint16 port() const { return m_port; }

    // A port on 127.0.0.1 where nothing listens.
    static quint16 freePort();

private:
    QProcess m_process;
    quint16 m_port = 0;
    bool m_telnet = false;
};
