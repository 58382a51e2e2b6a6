#pragma once

#include "simpty.h"
#include "taviksimulator.h"

#include <QObject>

class QSocketNotifier;
class QTimer;
class SimPacedWriter;
class SimulatorEngine;

// The device's end of the line, living on the simulator's own thread: the
// pseudo-terminal, the arrival notifier, the shaped writer and the flood.
// What the device answers is the engine's business.
class SimLine : public QObject
{
    Q_OBJECT
public:
    explicit SimLine(SimulatorEngine *engine);
    ~SimLine() override;

    // All of these run on the line's thread.
    bool open(QString *error, QString *path);
    void close();
    void hangUp();
    void applyFaults(const SimFaults &faults);

private:
    void readInput();
    void flood();
    void countSent(qint64 count);
    void limitReached();
    void updateLimit();
    void hangUpOnceRead();

    SimulatorEngine *m_engine = nullptr;
    SimPty m_pty;
    QSocketNotifier *m_readable = nullptr;
    SimPacedWriter *m_writer = nullptr;
    QTimer *m_floodTimer = nullptr;
    QTimer *m_hangUpTimer = nullptr;
    int m_hangUpChecks = 0;
    SimFaults m_faults;
    qint64 m_sentSinceFaults = 0;
    bool m_heardSinceFaults = false;
};
