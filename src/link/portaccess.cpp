#include "link/portaccess.h"

namespace
{

QString permissionText(PortSystem system, const QString &path, const PortAccess::Node &node,
                       const QString &user)
{
    // What to do comes first: the status box shows only its first lines.
    const QString head = PortAccess::tr("Permission denied on %1: ").arg(path);
    // macOS gives serial nodes no group a user could join.
    if (system == PortSystem::Mac)
        return head + PortAccess::tr("user %1 may not read and write it; ask the administrator to allow it.")
                          .arg(user);
    if (!node.groupMayOpen)
        return head + PortAccess::tr("only its owner may read and write it; ask the administrator for a udev "
                                     "rule that gives group %1 access.")
                          .arg(node.group);
    if (node.inGroup)
        return head +
               PortAccess::tr("user %1 is in its group %2, yet the system refuses.").arg(user, node.group);
    if (node.accountInGroup)
        return head +
               PortAccess::tr("user %1 joined its group %2 after this session started; log out and log "
                              "in again.")
                   .arg(user, node.group);
    return head +
           PortAccess::tr("it belongs to group %1, and user %2 is not in that group. Fix: sudo usermod "
                          "-aG %1 %2, then log out and log in again.")
               .arg(node.group, user);
}

} // namespace

PortAccess::Finding PortAccess::explain(PortSystem system, const QString &path, const Node &node,
                                        const QString &user, QSerialPort::SerialPortError openError,
                                        const QString &openErrorText, const std::function<QString()> &holder)
{
    const bool windows = system == PortSystem::Windows;
    if (path.isEmpty() || !node.exists || (windows && openError == QSerialPort::DeviceNotFoundError))
        return {Obstacle::Missing, windows ? tr("%1 is not present: is the adapter plugged in?").arg(path)
                                           : tr("%1 does not exist: is the adapter plugged in?").arg(path)};
    if (!windows && !node.serial)
        return {Obstacle::Other, tr("%1 is not a serial port").arg(path)};
    if (!node.strangeLock.isEmpty())
        return {Obstacle::Other, tr("%1 cannot be opened: its lock file %2 is not a regular file; remove it.")
                                     .arg(path, node.strangeLock)};
    if (!windows && !node.mayOpen)
        return {Obstacle::Permission, permissionText(system, path, node, user)};
    if (openError == QSerialPort::NoError)
        return {};
    // Windows names no holder: its ports have no lock files, and no process shows another's handles.
    if (const QString program = windows ? QString() : holder(); !program.isEmpty())
        return {Obstacle::Held,
                tr("%1 is in use by %2; close that program and try again.").arg(path, program)};
    if (openError == QSerialPort::PermissionError)
        return {Obstacle::Held, tr("%1 is in use by another program; close it and try again.").arg(path)};
    return {Obstacle::Other, tr("%1 cannot be opened: %2.").arg(path, openErrorText)};
}

PortAccess::Finding PortAccess::check(const QString &path, QSerialPort::SerialPortError openError,
                                      const QString &openErrorText)
{
    const Identity who = Identity::current();
    return explain(hostPortSystem(), path, node(path, who), who.name, openError, openErrorText,
                   [&path] { return holderOf(path); });
}

PortAccess::Finding PortAccess::probe(const QString &path)
{
    // What the node tells comes first: opening a FIFO, say, could block.
    if (hostPortSystem() != PortSystem::Windows) {
        if (Finding found = check(path); found.obstacle != Obstacle::None)
            return found;
    }
    QSerialPort port(path);
    if (port.open(QIODevice::ReadWrite))
        return {};
    return check(path, port.error(), port.errorString());
}
