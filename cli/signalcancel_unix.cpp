#include "signalcancel.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace
{

int s_fds[2] = {-1, -1};
// The same signal to a thread of its own, which ends the program when the
// event loop has not taken it in time: the main thread is then blocked in
// the system (an open, a read), where no cancel can reach it. 0 ends the thread.
int s_watch[2] = {-1, -1};
int s_taken[2] = {-1, -1};
constexpr int TakeMs = 2000;
std::thread s_watchdog;

void watch()
{
    char signal = 0;
    while (::read(s_watch[0], &signal, 1) < 0 && errno == EINTR) {
    }
    if (signal == 0)
        return;
    pollfd taken = {s_taken[0], POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&taken, 1, TakeMs)) < 0 && errno == EINTR) {
    }
    if (ready == 0)
        ::_exit(128 + signal);
}

// pipe2 is Linux's alone.
bool openPipe(int (&fds)[2])
{
    return ::pipe(fds) == 0 && ::fcntl(fds[0], F_SETFD, FD_CLOEXEC) == 0 &&
           ::fcntl(fds[1], F_SETFD, FD_CLOEXEC) == 0;
}

void closeAll(int (&fds)[2])
{
    for (int &fd : fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

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
        [[maybe_unused]] const auto watched = ::write(s_watch[1], &byte, 1);
    }
};

SignalCancel::SignalCancel(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0 || !openPipe(s_watch) ||
        !openPipe(s_taken))
        return;
    s_watchdog = std::thread(watch);
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
    if (s_watchdog.joinable()) {
        const char end = 0;
        [[maybe_unused]] const auto written = ::write(s_watch[1], &end, 1);
        s_watchdog.join();
    }
    closeAll(s_fds);
    closeAll(s_watch);
    closeAll(s_taken);
}

void SignalCancel::takeSignal()
{
    char byte = 0;
    [[maybe_unused]] const auto count = ::read(s_fds[1], &byte, 1);
    [[maybe_unused]] const auto written = ::write(s_taken[1], &byte, 1);
    emit cancelRequested();
}
