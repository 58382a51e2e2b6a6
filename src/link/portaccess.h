#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>

// Why this user cannot open a serial port, found where the system tells: the
// device node's group and mode against the user's groups, the lock files
// serial programs leave, and the files other processes hold open. Every text
// names what stands in the way and what removes it, for the status box, for
// stderr and for `tavikctl doctor`.
class PortAccess
{
public:
    enum class Obstacle { None, Missing, Permission, Held, Other };

    struct Finding {
        Obstacle obstacle = Obstacle::None;
        QString text; // empty for None
    };

    // Looks at the port at path as it is now. openError is how an open just
    // failed (NoError: it was not tried or it worked): a port refused for its
    // permissions that neither the node's mode nor a trace of another program
    // explains is still held by one, as the exclusive lock leaves no trace.
    static Finding check(const QString &path, QSerialPort::SerialPortError openError = QSerialPort::NoError,
                         const QString &openErrorText = {});

    // Opens the port at path as a dialogue would and closes it again; what
    // check() finds when that fails, None when it opens.
    static Finding probe(const QString &path);

    // ModemManager and brltty, when they run: both may grab serial adapters.
    // One line each, naming the process and what to do about it.
    static QStringList grabbingServices();

    // "User NAME (uid N), groups: a, b" for the process as it runs now.
    static QString userSummary();

    // "crw-rw---- root:dialout" for a device node, or empty when there is none.
    static QString nodeSummary(const QString &path);

    // The program named by a lock file or holding path open: "picocom
    // (process 1234)"; empty when the system does not tell.
    static QString holderOf(const QString &path);
};
