#pragma once

#include <QProcess>
#include <QString>

// A real ser2net serving one device on 127.0.0.1, raw or with RFC 2217. The telnet one
// sets the device to 9600 7E2 with both kinds of flow control: a client must set every one.
class Ser2netServer
{
public:
    ~Ser2netServer() { stop(); }

    // False, with the reason, when ser2net is missing or does not come up.
    bool start(const QString &device, bool telnet, QString *error);
    void stop(); // at once, as a server that goes down
    QString address() const; // tcp:// or rfc2217://127.0.0.1:PORT

    static quint16 freePort(); // on 127.0.0.1, where nothing listens

private:
    QProcess m_process;
    quint16 m_port = 0;
    bool m_telnet = false;
};
