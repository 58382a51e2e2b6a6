#pragma once

#include <QObject>
#include <QString>

#include <csignal>

class QSocketNotifier;

// SIGINT and SIGTERM (Ctrl+C and closing the console on Windows) for a
// command that talks to devices: the first asks for a cancel, on the event
// loop, so that every dialogue in progress can send the device back to its
// menu and let go of its port; a second one ends tavikctl at once, and so
// does the first when the event loop has not taken it within two seconds (the
// main thread blocked in the system, where no cancel reaches). Before a
// device command has started, a signal ends tavikctl as it ends any program:
// nothing has been said to a device yet that would need taking back.
class SignalCancel : public QObject
{
    Q_OBJECT
public:
    explicit SignalCancel(QObject *parent = nullptr);
    ~SignalCancel() override;

    // From now on a signal cancels instead of ending the program.
    static void setCancellable() { s_cancellable = 1; }
    // The signal that asked for the cancel, or 0.
    static int signalNumber() { return int(s_signal); }
    // What tavikctl exits with when cancelled: 128 and the signal, as a shell reports it.
    static int exitCode() { return 128 + (s_signal != 0 ? int(s_signal) : SIGINT); }
    static QString signalName()
    {
        return s_signal == SIGTERM ? QStringLiteral("SIGTERM") : QStringLiteral("SIGINT");
    }

signals:
    void cancelRequested();

private slots:
    void takeSignal();

private:
    // The platform's handler, which alone may touch the two below from inside a signal.
    struct Handler;

    static inline volatile std::sig_atomic_t s_signal = 0;
    static inline volatile std::sig_atomic_t s_cancellable = 0;
    QSocketNotifier *m_notifier = nullptr;
};
