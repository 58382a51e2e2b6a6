#include "link/serveraddress.h"

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
