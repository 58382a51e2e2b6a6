#include "base/inputfile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool openInputFile(QFile &file, const QString &path, QString &error)
{
    // O_NONBLOCK makes opening a FIFO without a writer return at once; it is
    // taken off again, so that reads wait for a writer's data and end when no
    // writer is left.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    const int flags = fd < 0 ? -1 : fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        error = qt_error_string(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}
