#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the system's requests to stop (SIGINT and SIGTERM; Ctrl+C, Ctrl+Break
// and closing the console on Windows) into a Qt signal on the event loop. The
// system's handler only passes a word on; everything else runs as an event.
// One at a time.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isWatching() const { return m_watching; }

signals:
    void stopRequested();

private:
    bool m_watching = false;
    QSocketNotifier *m_notifier = nullptr; // where a signal's byte arrives (Unix)
};
