#include "simpty.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{

QString systemError(const char *call)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(call), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

SimPty::~SimPty()
{
    close();
}

bool SimPty::open(QString *error)
{
    close();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal set-up");
        close();
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_slave < 0) {
        *error = systemError("open slave");
        close();
        return false;
    }
    // A fresh terminal echoes and translates line ends by itself; the device
    // does its own echo, so the line must pass every byte untouched.
    termios settings{};
    ::tcgetattr(m_slave, &settings);
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B57600);
    ::cfsetospeed(&settings, B57600);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        *error = systemError("tcsetattr");
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    return true;
}

void SimPty::close()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

int SimPty::unread() const
{
    int count = 0;
    if (m_slave < 0)
        return 0;
    // Characters written to the master reach the slave's queue a moment
    // later, from a kernel worker; until then FIONREAD does not count them,
    // and a hang-up would drop them unseen. Polling the slave moves them in.
    pollfd slave{m_slave, POLLIN, 0};
    ::poll(&slave, 1, 0);
    if (::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}
