// Windows: a port has no node, owner or lock file; whether it is listed and
// how its open failed are all the system tells.
#include "link/portaccess.h"

#include <QSerialPortInfo>

namespace
{

QString portName(const QString &path)
{
    const QString prefix = QStringLiteral("\\\\.\\");
    return path.startsWith(prefix) ? path.mid(prefix.size()) : path;
}

} // namespace

PortAccess::Identity PortAccess::Identity::current()
{
    Identity who;
    who.name = qEnvironmentVariable("USERNAME");
    who.self = true;
    return who;
}

PortAccess::Node PortAccess::node(const QString &path, const Identity &)
{
    Node node;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(portName(path), Qt::CaseInsensitive) == 0)
            node.exists = true;
    }
    // Any user may open a port that no other program holds.
    node.mayOpen = node.groupMayOpen = true;
    return node;
}

QStringList PortAccess::lockFileFolders()
{
    return {};
}

QString PortAccess::holderOf(const QString &, const QStringList &)
{
    return {};
}

QStringList PortAccess::grabbingServices()
{
    return {};
}

QString PortAccess::userSummary()
{
    return tr("User %1").arg(Identity::current().name);
}

QString PortAccess::nodeSummary(const QString &)
{
    return {};
}
