#include "ptydevice.h"

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

PtyDevice::PtyDevice()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        hangUp();
        return;
    }
    // A fresh terminal echoes and edits lines by itself; a device does neither.
    termios settings{};
    tcgetattr(m_master, &settings);
    cfmakeraw(&settings);
    tcsetattr(m_master, TCSANOW, &settings);
    m_portPath = QString::fromLocal8Bit(ptsname(m_master));
    // The terminal side held open: no hang-up on the master while the port under test is closed.
    m_keepOpen = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyDevice::readAvailable);
}

void PtyDevice::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
    }
}

void PtyDevice::hangUp()
{
    m_notifier.reset();
    for (int *fd : {&m_master, &m_keepOpen})
        if (*fd >= 0)
            ::close(std::exchange(*fd, -1));
}

void PtyDevice::readAvailable()
{
    char buffer[256];
    for (ssize_t n; (n = ::read(m_master, buffer, sizeof buffer)) > 0;) {
        for (ssize_t i = 0; i < n; ++i) {
            m_received.append(buffer[i]);
            send(m_responder(buffer[i]));
        }
    }
}
