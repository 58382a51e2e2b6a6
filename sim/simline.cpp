#include "simline.h"

#include "simpacedwriter.h"
#include "simulatorengine.h"
#include "simwire.h"

#include <QTimer>

#include <algorithm>

namespace
{

// A burst every few milliseconds pours out far more than a program can
// discard in time, yet leaves the thread idle most of the while.
constexpr int FloodIntervalMs = 2;
constexpr int FloodBurst = 256;
constexpr qint64 FloodBacklog = 1024;
// A hang-up after output waits this long at most for the program to take
// what was sent, as an adapter pulled out after its last character.
constexpr int HangUpCheckMs = 2;
constexpr int HangUpChecks = 500; // a busy machine may take its time
// A program that sends on and takes none of the echoes is hung up on once
// this much waits to be sent, as a serial server drops a client it cannot serve.
constexpr qint64 LargestBacklog = 65536;

} // namespace

SimLine::SimLine(SimulatorEngine *engine) : m_engine(engine) {}

SimLine::~SimLine()
{
    close();
}

bool SimLine::open(std::unique_ptr<SimWire> wire, QString *error, QString *path)
{
    if (!wire->open(error))
        return false;
    m_wire = std::move(wire);
    *path = m_wire->address();
    connect(m_wire.get(), &SimWire::readable, this, &SimLine::readInput);
    // Each program on a TCP line meets the faults afresh, as on a line of its own.
    connect(m_wire.get(), &SimWire::connected, this, [this] { applyFaults(m_faults); });
    connect(m_wire.get(), &SimWire::disconnected, this, &SimLine::programLeft);
    m_writer = new SimPacedWriter(m_wire.get(), this);
    connect(m_writer, &SimPacedWriter::sent, this, &SimLine::countSent);
    connect(m_writer, &SimPacedWriter::limitReached, this, &SimLine::limitReached);
    connect(m_writer, &SimPacedWriter::failed, this, &SimLine::hangUp);
    m_floodTimer = new QTimer(this);
    m_floodTimer->setInterval(FloodIntervalMs);
    connect(m_floodTimer, &QTimer::timeout, this, &SimLine::flood);
    m_hangUpTimer = new QTimer(this);
    m_hangUpTimer->setInterval(HangUpCheckMs);
    connect(m_hangUpTimer, &QTimer::timeout, this, &SimLine::hangUpOnceRead);
    return true;
}

void SimLine::close()
{
    // What a program wrote before it let go still reaches the device, as it
    // would one left switched on: a live command's last carriage return too.
    if (m_wire && m_wire->isConnected())
        readInput();
    if (m_wire)
        m_wire->disconnect(this);
    programLeft();
    delete m_writer;
    m_writer = nullptr;
    if (m_wire)
        m_wire->close();
    m_wire.reset();
    delete m_floodTimer;
    m_floodTimer = nullptr;
    delete m_hangUpTimer;
    m_hangUpTimer = nullptr;
}

// Nothing is written after the hang-up, to this program or to the next.
void SimLine::hangUp()
{
    programLeft();
    if (m_wire)
        m_wire->hangUp();
}

void SimLine::programLeft()
{
    if (m_writer)
        m_writer->clear();
    if (m_floodTimer)
        m_floodTimer->stop();
    if (m_hangUpTimer)
        m_hangUpTimer->stop();
}

void SimLine::runHandedOver()
{
    m_engine->runHandedOver();
}

void SimLine::applyFaults(const SimFaults &faults)
{
    m_faults = faults;
    m_sentSinceFaults = 0;
    m_heardSinceFaults = false;
    if (!m_writer || !m_wire->isConnected())
        return;
    m_writer->setPaced(faults.paced);
    m_writer->setChunks(faults.chunkSize, faults.chunkDelayMs);
    if (faults.flood)
        m_floodTimer->start();
    else
        m_floodTimer->stop();
    updateLimit();
}

void SimLine::readInput()
{
    const QByteArray input = m_wire->read();
    if (input.isEmpty())
        return;
    m_heardSinceFaults = true;
    const QByteArray output = m_engine->answer(input);
    if (!m_writer)
        return;
    m_writer->write(output);
    if (m_writer->pending() > LargestBacklog)
        hangUp();
}

void SimLine::flood()
{
    if (m_writer && m_wire->isConnected() && m_writer->pending() < FloodBacklog)
        m_writer->write(QByteArray(FloodBurst, '#'));
}

void SimLine::countSent(qint64 count)
{
    m_sentSinceFaults += count;
    m_engine->countSent(count);
}

void SimLine::limitReached()
{
    if (m_faults.hangUpAfterOutput >= 0 && m_sentSinceFaults >= m_faults.hangUpAfterOutput) {
        m_floodTimer->stop();
        m_hangUpChecks = 0;
        m_hangUpTimer->start();
        return;
    }
    m_engine->fallSilent();
    m_writer->clear();
    m_floodTimer->stop();
}

void SimLine::hangUpOnceRead()
{
    // A hang-up before a word was heard waits for the first one: hung up
    // before the program opens it, the terminal's number is free again, and
    // the program would open whatever device took it next.
    if ((!m_heardSinceFaults || m_wire->unread() > 0) && ++m_hangUpChecks < HangUpChecks)
        return;
    hangUp();
}

void SimLine::updateLimit()
{
    qint64 limit = -1;
    for (const qint64 after : {m_faults.hangUpAfterOutput, m_faults.silentAfterOutput}) {
        if (after < 0)
            continue;
        const qint64 left = std::max<qint64>(0, after - m_sentSinceFaults);
        limit = limit < 0 ? left : std::min(limit, left);
    }
    m_writer->setLimit(limit);
}
