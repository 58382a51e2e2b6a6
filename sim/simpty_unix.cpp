#include "simpty.h"

#include <QSocketNotifier>

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
    m_readable = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &SimWire::readable);
    m_writable = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, [this] {
        m_writable->setEnabled(false);
        emit writable();
    });
    return true;
}

// The notifiers go before the descriptors they watch.
void SimPty::close()
{
    delete m_readable;
    m_readable = nullptr;
    delete m_writable;
    m_writable = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}

QByteArray SimPty::read()
{
    QByteArray input;
    char buffer[4096];
    // What the program wrote reaches this end a moment later, from a kernel
    // worker; polling moves it in, so that a read just before closing misses none.
    if (m_master >= 0) {
        pollfd master{m_master, POLLIN, 0};
        ::poll(&master, 1, 0);
    }
    while (m_master >= 0) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            input.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // The master reads end of file or EIO only when no slave is open,
        // which our own slave prevents; if it happens all the same, stop
        // listening rather than wake for it without end.
        m_readable->setEnabled(false);
        break;
    }
    return input;
}

qint64 SimPty::write(const char *data, qint64 size)
{
    if (m_master < 0)
        return -1;
    for (;;) {
        const ssize_t written = ::write(m_master, data, size_t(size));
        if (written >= 0)
            return written;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        m_writable->setEnabled(true);
        return 0;
    }
}

qint64 SimPty::unread() const
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
