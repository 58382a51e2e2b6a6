#include "ser2netserver.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

quint16 Ser2netServer::freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

QString Ser2netServer::address() const
{
    return (m_telnet ? "rfc2217://127.0.0.1:" : "tcp://127.0.0.1:") + QString::number(m_port);
}

bool Ser2netServer::start(const QString &device, bool telnet, QString *error)
{
    // Debian installs it for root only, outside a normal user's PATH.
    const QString program = QStandardPaths::findExecutable("ser2net", {"/usr/sbin", "/usr/bin"});
    if (program.isEmpty()) {
        *error = QStringLiteral("ser2net is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    m_telnet = telnet;
    m_port = freePort();
    // The configuration on the command line ("#" starts a line); -u: no lock files, which a normal user may not write.
    const QString config = QStringLiteral("connection: &tavik#  accepter: %1tcp(nodelay),127.0.0.1,%2#"
                                          "  connector: serialdev,%3,%4,local#  options:#    chardelay: false")
                               .arg(telnet ? QStringLiteral("telnet(rfc2217),") : QString(),
                                    QString::number(m_port), device,
                                    telnet ? QStringLiteral("9600e72,rtscts,xonxoff") : QStringLiteral("57600n81"));
    m_process.start(program, {"-n", "-d", "-u", "-Y", config});
    // It listens once it has read its configuration: try until a connection is taken.
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(1000))
            return true;
        if (m_process.state() == QProcess::NotRunning || m_process.waitForFinished(50))
            break;
    }
    *error = QStringLiteral("ser2net did not come up: ") + QString::fromLocal8Bit(m_process.readAll());
    return false;
}

void Ser2netServer::stop()
{
    m_process.kill();
    m_process.waitForFinished();
}
