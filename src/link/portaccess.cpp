#include "link/portaccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace
{

QString userName()
{
    const passwd *user = getpwuid(geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
}

QString groupName(gid_t gid)
{
    const group *entry = getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

// The groups this process runs with: what the open is checked against.
std::vector<gid_t> processGroups()
{
    std::vector<gid_t> groups(size_t(getgroups(0, nullptr)));
    groups.resize(size_t(getgroups(int(groups.size()), groups.data())));
    groups.push_back(getegid());
    return groups;
}

// The groups of the user's account: what the next login gets.
bool accountHasGroup(gid_t gid)
{
    const passwd *user = getpwuid(geteuid());
    if (!user)
        return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
        groups.resize(size_t(count));
        getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count);
    }
    groups.resize(size_t(count));
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QCoreApplication::translate("PortAccess", "%1 (process %2)")
        .arg(QString::fromLocal8Bit(comm.readAll().trimmed()))
        .arg(pid);
}

// The lock file names serial programs use for a port: Qt's (the path below
// /dev with every '/' as '_') and the UUCP one (the device's own name).
QStringList lockNames(const QString &path)
{
    QStringList names;
    for (const QString &location : {path, QFileInfo(path).canonicalFilePath()}) {
        if (location.isEmpty())
            continue;
        QString name = location.startsWith(QStringLiteral("/dev/")) ? location.mid(5) : location;
        names << QStringLiteral("LCK..") + name.replace(u'/', u'_')
              << QStringLiteral("LCK..") + QFileInfo(location).fileName();
    }
    names.removeDuplicates();
    return names;
}

QString holderFromLockFiles(const QString &path)
{
    static const QStringList folders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"),
                                        QStringLiteral("/tmp"), QStringLiteral("/var/tmp")};
    for (const QString &folder : folders) {
        for (const QString &name : lockNames(path)) {
            QFile lock(folder + u'/' + name);
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            const qint64 pid = lock.readLine().trimmed().toLongLong();
            // A lock whose process has gone holds nothing.
            if (const QString holder = pid > 0 ? processName(pid) : QString(); !holder.isEmpty())
                return holder;
        }
    }
    return {};
}

QString holderFromOpenFiles(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == getpid())
            continue;
        // Only the user's own processes show their files, unless run as root.
        const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() == target)
                return processName(pid);
        }
    }
    return {};
}

QString permissionText(const QString &path, const struct stat &node)
{
    // What to do comes first: the status box shows only its first lines.
    const QString user = userName();
    const QString groupText = groupName(node.st_gid);
    const QString head = QCoreApplication::translate("PortAccess", "Permission denied on %1: ").arg(path);
    if ((node.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return head + QCoreApplication::translate(
                          "PortAccess",
                          "only its owner may read and write it; ask the administrator for a udev "
                          "rule that gives group %1 access.")
                          .arg(groupText);
    const std::vector<gid_t> groups = processGroups();
    if (std::find(groups.begin(), groups.end(), node.st_gid) != groups.end())
        return head + QCoreApplication::translate("PortAccess",
                                                  "user %1 is in its group %2, yet the system refuses.")
                          .arg(user, groupText);
    if (accountHasGroup(node.st_gid))
        return head + QCoreApplication::translate(
                          "PortAccess",
                          "user %1 joined its group %2 after this session started; log out and log "
                          "in again.")
                          .arg(user, groupText);
    return head + QCoreApplication::translate(
                      "PortAccess",
                      "it belongs to group %1, and user %2 is not in that group. Fix: sudo usermod "
                      "-aG %1 %2, then log out and log in again.")
                      .arg(groupText, user);
}

} // namespace

QString PortAccess::holderOf(const QString &path)
{
    const QString holder = holderFromLockFiles(path);
    return holder.isEmpty() ? holderFromOpenFiles(path) : holder;
}

PortAccess::Finding PortAccess::check(const QString &path, QSerialPort::SerialPortError openError,
                                      const QString &openErrorText)
{
    struct stat node = {};
    if (path.isEmpty() || stat(QFile::encodeName(path).constData(), &node) != 0)
        return {Obstacle::Missing,
                QCoreApplication::translate("PortAccess", "%1 does not exist: is the adapter plugged in?")
                    .arg(path)};
    if (access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0)
        return {Obstacle::Permission, permissionText(path, node)};
    if (openError == QSerialPort::NoError)
        return {};
    const QString holder = holderOf(path);
    if (!holder.isEmpty())
        return {Obstacle::Held, QCoreApplication::translate(
                                    "PortAccess", "%1 is in use by %2; close that program and try again.")
                                    .arg(path, holder)};
    if (openError == QSerialPort::PermissionError)
        return {Obstacle::Held, QCoreApplication::translate(
                                    "PortAccess", "%1 is in use by another program; close it and try again.")
                                    .arg(path)};
    return {Obstacle::Other,
            QCoreApplication::translate("PortAccess", "%1 cannot be opened: %2.").arg(path, openErrorText)};
}

PortAccess::Finding PortAccess::probe(const QString &path)
{
    if (!QFileInfo::exists(path))
        return check(path);
    QSerialPort port(path);
    if (port.open(QIODevice::ReadWrite))
        return {};
    return check(path, port.error(), port.errorString());
}

QStringList PortAccess::grabbingServices()
{
    struct Service {
        QString name;
        QString advice;
    };
    static const QList<Service> services = {
        {QStringLiteral("ModemManager"),
         QCoreApplication::translate(
             "PortAccess",
             "it probes serial adapters as they appear and may hold one for a while; if it keeps "
             "the Tavik's port busy: sudo systemctl stop ModemManager")},
        {QStringLiteral("brltty"),
         QCoreApplication::translate(
             "PortAccess", "it claims some USB serial adapters as braille displays; if the Tavik's adapter "
                           "vanishes when plugged in: sudo apt remove brltty")},
    };
    QStringList lines;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromLocal8Bit(comm.readAll().trimmed());
        for (const Service &service : services) {
            if (name == service.name)
                lines << QCoreApplication::translate("PortAccess", "%1 is running (process %2): %3.")
                             .arg(name, entry, service.advice);
        }
    }
    return lines;
}

QString PortAccess::userSummary()
{
    QStringList names;
    for (const gid_t gid : processGroups())
        names << groupName(gid);
    names.removeDuplicates();
    return QCoreApplication::translate("PortAccess", "User %1 (uid %2), groups: %3")
        .arg(userName())
        .arg(geteuid())
        .arg(names.join(", "));
}

QString PortAccess::nodeSummary(const QString &path)
{
    struct stat node = {};
    if (stat(QFile::encodeName(path).constData(), &node) != 0)
        return {};
    QString mode = S_ISCHR(node.st_mode) ? QStringLiteral("c") : QStringLiteral("-");
    const char *letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit)
        mode += (node.st_mode & (0400 >> bit)) ? QLatin1Char(letters[bit]) : QLatin1Char('-');
    const passwd *owner = getpwuid(node.st_uid);
    return QStringLiteral("%1 %2:%3")
        .arg(mode, owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(node.st_uid),
             groupName(node.st_gid));
}
