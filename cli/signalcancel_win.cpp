#include "signalcancel.h"

#include <QMetaObject>

#include <cstdlib>
#include <windows.h>

namespace
{

SignalCancel *s_instance = nullptr;
// Set once the event loop has taken the cancel; a main thread blocked in the
// system never takes it, and the program then ends as on a second signal.
HANDLE s_taken = nullptr;
constexpr DWORD TakeMs = 2000;

} // namespace

struct SignalCancel::Handler {
    // Runs on a thread of the console's own: the cancel is handed to the event loop.
    static BOOL WINAPI handle(DWORD event)
    {
        const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
        if (s_signal != 0)
            std::_Exit(128 + signal); // asked twice: the first cancel is given up
        if (!s_cancellable)
            return FALSE; // the console's default: the program ends
        s_signal = signal;
        QMetaObject::invokeMethod(s_instance, "takeSignal", Qt::QueuedConnection);
        if (WaitForSingleObject(s_taken, TakeMs) == WAIT_TIMEOUT)
            std::_Exit(128 + signal);
        return TRUE;
    }
};

SignalCancel::SignalCancel(QObject *parent) : QObject(parent)
{
    s_instance = this;
    s_taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(&Handler::handle, TRUE);
}

SignalCancel::~SignalCancel()
{
    SetConsoleCtrlHandler(&Handler::handle, FALSE);
    s_instance = nullptr;
    CloseHandle(s_taken);
    s_taken = nullptr;
}

void SignalCancel::takeSignal()
{
    SetEvent(s_taken);
    emit cancelRequested();
}
