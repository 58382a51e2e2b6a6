#include "signalcancel.h"

#include <QMetaObject>

#include <cstdlib>
#include <windows.h>

namespace
{

SignalCancel *s_instance = nullptr;

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
        return TRUE;
    }
};

SignalCancel::SignalCancel(QObject *parent) : QObject(parent)
{
    s_instance = this;
    SetConsoleCtrlHandler(&Handler::handle, TRUE);
}

SignalCancel::~SignalCancel()
{
    SetConsoleCtrlHandler(&Handler::handle, FALSE);
    s_instance = nullptr;
}

void SignalCancel::takeSignal()
{
    emit cancelRequested();
}
