#pragma once

#include "link/portdirectory.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <functional>

// Why this user cannot open a serial port, found where the system tells. On
// Linux and macOS: the device node's owner, group and mode against the
// user's, the lock files serial programs leave, and the files other
// processes hold open. On Windows only the open's own error tells: the port
// is in use or not present. Every text names what stands in the way and what
// removes it, for the status box, for stderr and for `tavikctl doctor`.
class PortAccess
{
    Q_DECLARE_TR_FUNCTIONS(PortAccess)

public:
    enum class Obstacle { None, Missing, Permission, Held, Other };

    struct Finding {
        Obstacle obstacle = Obstacle::None;
        QString text; // empty for None
    };

    // Who asks to open a port: the process as it runs (its groups), and what
    // the user's account has, which the next login gets.
    struct Identity {
        QString name;
        unsigned uid = 0;
        QList<unsigned> groups;        // the process's, the effective one included
        QList<unsigned> accountGroups; // the account's
        bool self = false;             // this process: the system itself answers whether it may open
        static Identity current();
    };

    // What the system tells of a port's node. Each system gathers it its own way.
    struct Node {
        bool exists = false;
        bool serial = true;        // a terminal device, not a file, a folder or /dev/null
        bool mayOpen = false;      // the mode lets this identity read and write it
        bool groupMayOpen = false; // the mode lets the node's group read and write it
        QString group;
        bool inGroup = false;        // the process runs with the node's group
        bool accountInGroup = false; // the account has it: the next login gets it
        QString strangeLock;         // its lock file, when that is no plain file (a FIFO)
    };
    static Node node(const QString &path, const Identity &who);

    // The finding for what is known of the port, by the rules of system:
    // openError is how an open just failed (NoError: it was not tried or it
    // worked), holder the program that holds it (asked only when it matters).
    // A port refused for its permissions that neither the node's mode nor a
    // trace of another program explains is still held by one, as the
    // exclusive lock leaves no trace.
    static Finding explain(PortSystem system, const QString &path, const Node &node, const QString &user,
                           QSerialPort::SerialPortError openError, const QString &openErrorText,
                           const std::function<QString()> &holder);

    // Looks at the port at path as it is now, on this system, for this process.
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

    // The program named by a lock file in one of lockFolders or holding path
    // open: "picocom (process 1234)"; empty when the system does not tell.
    static QString holderOf(const QString &path, const QStringList &lockFolders = lockFileFolders());
    static QStringList lockFileFolders();
};
