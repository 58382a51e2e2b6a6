#pragma once

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A pseudo-terminal under a name of this process's own: closing a port frees its terminal
// before its lock file, so a terminal number another test just let go of may still be locked.
inline QString privatePortPath(const QString &terminal)
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tavik-ports-XXXXXX"));
    static QAtomicInt count;
    const QString link = dir.filePath(QStringLiteral("port%1").arg(count.fetchAndAddOrdered(1)));
    return QFile::link(terminal, link) ? link : terminal;
}
