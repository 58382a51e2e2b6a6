#include "base/safesave.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

void keepOwnerAndMode(int handle, const QString &replaced)
{
    struct stat old {};
    if (handle < 0 || stat(QFile::encodeName(replaced).constData(), &old) != 0)
        return;
    // A user may give a file only their own owner; the group and mode are
    // still worth keeping when the owner cannot be. The owner goes first:
    // changing it clears the set-ID bits that the mode then puts back.
    if (fchown(handle, old.st_uid, old.st_gid) != 0)
        (void)!fchown(handle, uid_t(-1), old.st_gid);
    (void)!fchmod(handle, old.st_mode & 07777);
}
