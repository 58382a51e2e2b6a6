#include "base/logfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace
{

// A folder the user unpacked the program into, not one it was installed in.
bool unpackedByTheUser(const QString &folder)
{
    const QString inside = QDir::cleanPath(folder) + u'/';
    for (const char *installed : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "SystemRoot"}) {
        const QString root = QDir::fromNativeSeparators(qEnvironmentVariable(installed));
        if (!root.isEmpty() && inside.startsWith(QDir::cleanPath(root) + u'/', Qt::CaseInsensitive))
            return false;
    }
    return true;
}

// Windows reports every folder as writable, Program Files too, and then
// refuses the write (or hands it to a per-user copy behind the program's
// back): only opening the file tells.
bool takesLog(const QString &logPath)
{
    QFile log(logPath);
    const bool existed = log.exists();
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    log.close();
    if (!existed)
        log.remove();
    return true;
}

} // namespace

// Beside the program, where users of an unpacked copy have always found it.
QString logFolder()
{
    const QString program = QCoreApplication::applicationDirPath();
    if (!program.isEmpty() && unpackedByTheUser(program) &&
        takesLog(program + QStringLiteral("/ErrorLog.txt")))
        return program;
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool openLogFile(QFile &file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}
