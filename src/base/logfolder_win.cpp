#include "base/logfolder.h"

#include <QFile>

// Windows reports every folder as writable, Program Files too, and then
// refuses the write (or hands it to a per-user copy behind the program's
// back): only opening the file tells.
bool programFolderTakesLog(const QString &logPath)
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
