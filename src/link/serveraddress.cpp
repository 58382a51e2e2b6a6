#include "link/serveraddress.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace
{

const QString RawScheme = QStringLiteral("tcp://");
const QString TelnetScheme = QStringLiteral("rfc2217://");

} // namespace

QString ServerAddress::hostAndPort() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

bool looksLikeServerAddress(const QString &name)
{
    return name.startsWith(RawScheme, Qt::CaseInsensitive) || name.startsWith(TelnetScheme, Qt::CaseInsensitive);
}

std::optional<ServerAddress> serverAddress(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^(tcp|rfc2217)://(?:\\[([^\\]]+)\\]|([^:/\\[\\]]+)):(\\d{1,5})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const uint port = match.captured(4).toUInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    ServerAddress address;
    address.telnet = match.captured(1).compare(QStringLiteral("rfc2217"), Qt::CaseInsensitive) == 0;
    address.host = match.captured(2).isEmpty() ? match.captured(3) : match.captured(2);
    address.port = quint16(port);
    return address;
}

QString serverAddressFault(const QString &name)
{
    if (!looksLikeServerAddress(name) || serverAddress(name))
        return {};
    // A serial server's port is the whole of what follows the host: the
    // device behind it is chosen on the server, never by a path here.
    static const QRegularExpression withPath(
        QStringLiteral("^[a-z0-9]+://(?:\\[[^\\]]*\\]|[^:/\\[\\]]+):\\d*/"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression withPort(QStringLiteral(":(\\d+)$"));
    if (withPath.match(name).hasMatch())
        return QCoreApplication::translate(
                   "ServerAddress",
                   "'%1' has a path after its port: a serial server is named "
                   "tcp://HOST:PORT or rfc2217://HOST:PORT, and the server chooses the device")
            .arg(name);
    if (const QRegularExpressionMatch port = withPort.match(name); port.hasMatch())
        return QCoreApplication::translate(
                   "ServerAddress", "'%1' has port %2: a serial server's port is a number from 1 to 65535")
            .arg(name, port.captured(1));
    return QCoreApplication::translate(
               "ServerAddress",
               "'%1' is not a serial server's address (tcp://HOST:PORT or rfc2217://HOST:PORT)")
        .arg(name);
}
