#include "signalcancel.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

namespace
{

int s_fds[2] = {-1, -1};

} // namespace

struct SignalCancel::Handler {
    // Only what is safe inside a handler: a byte into the socket pair, or the end.
    static void handle(int signal)
    {
        if (s_signal != 0) {
            // The user asked twice: whatever the first cancel still waits for is given up.
            ::_exit(128 + signal);
        }
        if (!s_cancellable) {
            ::signal(signal, SIG_DFL);
            ::raise(signal);
            return;
        }
        s_signal = signal;
        const char byte = char(signal);
        [[maybe_unused]] const auto written = ::write(s_fds[0], &byte, 1);
    }
};

SignalCancel::SignalCancel(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
        return;
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalCancel::takeSignal);
    struct sigaction action = {};
    action.sa_handler = &Handler::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

SignalCancel::~SignalCancel()
{
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    delete m_notifier;
    for (int &fd : s_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalCancel::takeSignal()
{
    char byte = 0;
    [[maybe_unused]] const auto count = ::read(s_fds[1], &byte, 1);
    emit cancelRequested();
}
