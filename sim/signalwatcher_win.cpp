#include "signalwatcher.h"

#include <atomic>

#include <windows.h>

namespace
{

std::atomic<SignalWatcher *> s_watcher{nullptr};

// Windows calls this on a thread of its own: the request crosses to the
// event loop's thread as a queued call.
BOOL WINAPI handle(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (SignalWatcher *watcher = s_watcher.load())
            QMetaObject::invokeMethod(watcher, &SignalWatcher::stopRequested, Qt::QueuedConnection);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

SignalWatcher::SignalWatcher(QObject *parent) : QObject(parent)
{
    s_watcher = this;
    m_watching = ::SetConsoleCtrlHandler(&handle, TRUE) != 0;
}

SignalWatcher::~SignalWatcher()
{
    ::SetConsoleCtrlHandler(&handle, FALSE);
    s_watcher = nullptr;
}
