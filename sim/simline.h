#pragma once

#include "taviksimulator.h"

#include <QObject>

#include <functional>
#include <memory>

class QTimer;
class SimPacedWriter;
class SimulatorEngine;
class SimWire;

// The device's end of the line, living on the simulator's own thread: the
// wire (a pseudo-terminal or TCP), the shaped writer and the flood.
// What the device answers is the engine's business.
class SimLine : public QObject
{
    Q_OBJECT
public:
    explicit SimLine(SimulatorEngine *engine);
    ~SimLine() override;

    // All of these run on the line's thread.
    bool open(std::unique_ptr<SimWire> wire, QString *error, QString *path);
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
    void programLeft();

    SimulatorEngine *m_engine = nullptr;
    std::unique_ptr<SimWire> m_wire;
    SimPacedWriter *m_writer = nullptr;
    QTimer *m_floodTimer = nullptr;
    QTimer *m_hangUpTimer = nullptr;
    int m_hangUpChecks = 0;
    SimFaults m_faults;
    qint64 m_sentSinceFaults = 0;
    bool m_heardSinceFaults = false;
};
