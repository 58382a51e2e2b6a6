#include "base/logfolder.h"

#include <QFileInfo>

bool programFolderTakesLog(const QString &logPath)
{
    const QFileInfo log(logPath);
    return QFileInfo(log.path()).isWritable() && (!log.exists() || log.isWritable());
}
