#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the event loop: the handler
// only writes a byte into a socket pair, everything else runs as an event.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void stopRequested();

private:
    static void handle(int signal);
    void takeSignal();

    static inline int s_fds[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
