#include "base/inputfile.h"

// A named pipe on Windows is not opened by a path a user types here, and
// opening a file does not wait for a writer.
bool openInputFile(QFile &file, const QString &path, QString &error)
{
    file.setFileName(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    error = file.errorString();
    return false;
}
