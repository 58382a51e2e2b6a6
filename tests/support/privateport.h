#pragma once

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A pseudo-terminal under a name of this process's own. The serial port's
// lock file is named after the port, and closing a port frees its terminal
// before its lock: a terminal number one test program has just let go of may
// go to another's device while the lock still names the first, and that open
// is refused. Tests run side by side, so each opens its devices by a link.
inline QString privatePortPath(const QString &terminal)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tavik-ports-XXXXXX"));
    static QAtomicInt count;
    const QString link = dir.filePath(QStringLiteral("port%1").arg(count.fetchAndAddOrdered(1)));
    return QFile::link(terminal, link) ? link : terminal;
}
