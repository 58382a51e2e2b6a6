// Linux and macOS: device nodes with an owner, a group and a mode, lock files,
// and on Linux the processes' open files under /proc.
#include "link/portaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#if __has_include(<sys/sysmacros.h>)
#include <sys/sysmacros.h> // major() and minor() on Linux
#endif
#include <unistd.h>

#include <vector>

namespace
{

QString groupName(gid_t gid)
{
    const group *entry = getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return PortAccess::tr("%1 (process %2)").arg(QString::fromLocal8Bit(comm.readAll().trimmed())).arg(pid);
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

// Whether the process has the port open: a lock file is only a claim,
// which anyone who can write the lock folder can make.
bool holdsOpen(const QString &pid, const QString &target)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    // Only the user's own processes show their files, unless run as root.
    for (const QFileInfo &fd : fds.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget() == target)
            return true;
    }
    return false;
}

// The process number a lock file holds. Opened so that nothing planted in
// its place blocks: a FIFO or a device is not read, nor a link followed.
qint64 lockFilePid(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info = {};
    char text[32] = {};
    const ssize_t count =
        fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? ::read(fd, text, sizeof text - 1) : 0;
    ::close(fd);
    // The number on the first line; Qt's lock files name the program and the host after it.
    return count > 0 ? QByteArray(text, count).split('\n').first().trimmed().toLongLong() : 0;
}

QString holderFromLockFiles(const QString &path, const QStringList &folders)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const QString &folder : folders) {
        for (const QString &name : lockNames(path)) {
            const qint64 pid = lockFilePid(folder + u'/' + name);
            // A lock whose process has gone, or never had the port, holds nothing.
            if (pid > 0 && holdsOpen(QString::number(pid), target))
                return processName(pid);
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
        if (isPid && pid != getpid() && holdsOpen(entry, target))
            return processName(pid);
    }
    return {};
}

// A terminal, as far as the node tells without opening it (an open may
// reset the device): a character device of the tty class. Linux lists its
// devices' classes in /sys; one that it does not list, such as a
// pseudo-terminal, or any on macOS, counts as a terminal.
bool isTerminal(const struct stat &info)
{
    if (!S_ISCHR(info.st_mode))
        return false;
    const QFileInfo subsystem(
        QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major(info.st_rdev)).arg(minor(info.st_rdev)));
    return !subsystem.isSymLink() || QFileInfo(subsystem.symLinkTarget()).fileName() == QLatin1String("tty");
}

// The groups of the user's account. Linux declares them gid_t, macOS int:
// the type comes from the system's own getgrouplist.
template <typename Id>
QList<unsigned> groupsOfAccount(int (*groupList)(const char *, Id, Id *, int *), const passwd &user)
{
    int count = 64;
    std::vector<Id> groups(static_cast<size_t>(count));
    if (groupList(user.pw_name, Id(user.pw_gid), groups.data(), &count) < 0) {
        groups.resize(size_t(count));
        groupList(user.pw_name, Id(user.pw_gid), groups.data(), &count);
    }
    groups.resize(size_t(count));
    QList<unsigned> ids;
    for (const Id gid : groups)
        ids << unsigned(gid);
    return ids;
}

} // namespace

PortAccess::Identity PortAccess::Identity::current()
{
    Identity who;
    who.uid = geteuid();
    const passwd *user = getpwuid(who.uid);
    who.name = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(who.uid);
    std::vector<gid_t> groups(size_t(getgroups(0, nullptr)));
    groups.resize(size_t(getgroups(int(groups.size()), groups.data())));
    groups.push_back(getegid());
    for (const gid_t gid : groups)
        who.groups << unsigned(gid);
    if (user)
        who.accountGroups = groupsOfAccount(getgrouplist, *user);
    who.self = true;
    return who;
}

PortAccess::Node PortAccess::node(const QString &path, const Identity &who)
{
    struct stat info = {};
    if (path.isEmpty() || stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    Node node;
    node.exists = true;
    node.serial = isTerminal(info);
    // Opening the port reads its lock file: a FIFO there would block the open.
    for (const QString &folder : lockFileFolders()) {
        for (const QString &name : lockNames(path)) {
            struct stat lock = {};
            const QString lockPath = folder + u'/' + name;
            if (node.strangeLock.isEmpty() && lstat(QFile::encodeName(lockPath).constData(), &lock) == 0 &&
                !S_ISREG(lock.st_mode))
                node.strangeLock = lockPath;
        }
    }
    node.group = groupName(info.st_gid);
    node.groupMayOpen = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    node.inGroup = who.groups.contains(unsigned(info.st_gid));
    node.accountInGroup = who.accountGroups.contains(unsigned(info.st_gid));
    if (who.self) {
        // The system's own answer counts access control lists and root too.
        node.mayOpen = access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
        return node;
    }
    // The owner's bits for the owner, the group's for its members, the others' for the rest.
    const mode_t readWrite = who.uid == info.st_uid ? (S_IRUSR | S_IWUSR)
                             : node.inGroup         ? (S_IRGRP | S_IWGRP)
                                                    : (S_IROTH | S_IWOTH);
    node.mayOpen = who.uid == 0 || (info.st_mode & readWrite) == readWrite;
    return node;
}

QStringList PortAccess::lockFileFolders()
{
    // Only where the system keeps them: a lock file in /tmp is anyone's word.
    return {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};
}

QString PortAccess::holderOf(const QString &path, const QStringList &lockFolders)
{
    const QString holder = holderFromLockFiles(path, lockFolders);
    return holder.isEmpty() ? holderFromOpenFiles(path) : holder;
}

QStringList PortAccess::grabbingServices()
{
    struct Service {
        QString name;
        QString advice;
    };
    const QList<Service> services = {
        {QStringLiteral("ModemManager"),
         tr("it probes serial adapters as they appear and may hold one for a while; if it keeps "
            "the Tavik's port busy: sudo systemctl stop ModemManager")},
        {QStringLiteral("brltty"),
         tr("it claims some USB serial adapters as braille displays; if the Tavik's adapter "
            "vanishes when plugged in: sudo apt remove brltty")},
    };
    QStringList lines;
    // Only Linux has /proc; macOS runs neither service.
    const QDir proc(QStringLiteral("/proc"));
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromLocal8Bit(comm.readAll().trimmed());
        for (const Service &service : services) {
            if (name == service.name)
                lines << tr("%1 is running (process %2): %3.").arg(name, entry, service.advice);
        }
    }
    return lines;
}

QString PortAccess::userSummary()
{
    const Identity who = Identity::current();
    QStringList names;
    for (const unsigned gid : who.groups)
        names << groupName(gid_t(gid));
    names.removeDuplicates();
    return tr("User %1 (uid %2), groups: %3")
        .arg(who.name)
        .arg(who.uid)
        .arg(names.join(QStringLiteral(", ")));
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
