#pragma once

#include "simfaultfilter.h"
#include "simmenu.h"
#include "taviksimulator.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QThread;
class SimLine;

// What the simulated device knows and keeps, shared between the thread that
// serves the line and whoever drives or inspects the device. The device's
// data has one mutex, never held while waiting for the line's thread; the
// thread itself (start, stop, and what they hand to it) has another, which
// the line's thread never takes.
class SimulatorEngine
{
public:
    SimulatorEngine();
    ~SimulatorEngine();

    bool start(QString *error);
    void stop();
    QString portPath() const;
    void setStateFile(const QString &path);
    void listenOn(const QString &host, quint16 port, int idleMs);
    void setFaults(const SimFaults &faults);
    SimFaults faults() const;
    void hangUp();
    SimRelay relay(int index) const;
    void setRelay(int index, const SimRelay &relay);
    QByteArray received() const;
    void clearReceived();
    qint64 sentCount() const;

    // Called by the line on its thread.
    QByteArray answer(const QByteArray &input);
    void countSent(qint64 count);
    void fallSilent();
    // Runs, on the line's thread, the work runOnLine hands over.
    void runHandedOver();

private:
    void stopThread();
    void runOnLine(const std::function<void()> &work);
    void loadState();
    void saveState();

    // Standard locks rather than Qt's: ThreadSanitizer sees into these, and
    // so can check what the two threads share (scripts/tsan.sh).
    std::mutex m_lifecycle;
    mutable std::mutex m_mutex;
    std::mutex m_handover;
    std::condition_variable m_handedBack;
    const std::function<void()> *m_handedOver = nullptr;
    SimMenu m_menu;
    SimFaultFilter m_filter;
    SimFaults m_faults;
    QByteArray m_received;
    qint64 m_sent = 0;
    QString m_stateFile;
    QString m_portPath;
    QString m_listenHost; // empty: the system's own kind of line
    quint16 m_listenPort = 0;
    int m_listenIdleMs = 0;
    std::unique_ptr<QThread> m_thread;
    SimLine *m_line = nullptr;
};
