#include "base/inputfile.h"

// Opening a file on Windows does not wait for a writer: a plain open serves.
bool openInputFile(QFile &file, const QString &path, QString &error)
{
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    error = file.errorString();
    return false;
}
