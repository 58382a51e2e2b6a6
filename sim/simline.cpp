#include "simline.h"

#include "simpacedwriter.h"
#include "simulatorengine.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

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

} // namespace

SimLine::SimLine(SimulatorEngine *engine) : m_engine(engine) {}

SimLine::~SimLine()
{
    close();
}

bool SimLine::open(QString *error, QString *path)
{
    if (!m_pty.open(error))
        return false;
    *path = m_pty.slavePath();
    m_readable = new QSocketNotifier(m_pty.master(), QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &SimLine::readInput);
    m_writer = new SimPacedWriter(m_pty.master(), this);
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
    hangUp();
    delete m_floodTimer;
    m_floodTimer = nullptr;
    delete m_hangUpTimer;
    m_hangUpTimer = nullptr;
}

// Everything that touches the descriptors goes before they close. The writer
// may be the one reporting, so it is deleted once it has returned.
void SimLine::hangUp()
{
    delete m_readable;
    m_readable = nullptr;
    if (m_writer) {
        m_writer->disconnect(this);
        m_writer->clear();
        m_writer->deleteLater();
        m_writer = nullptr;
    }
    if (m_floodTimer)
        m_floodTimer->stop();
    if (m_hangUpTimer)
        m_hangUpTimer->stop();
    m_pty.close();
}

void SimLine::applyFaults(const SimFaults &faults)
{
    m_faults = faults;
    m_sentSinceFaults = 0;
    m_heardSinceFaults = false;
    if (!m_writer)
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
    QByteArray output;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_pty.master(), buffer, sizeof buffer);
        if (count > 0) {
            m_heardSinceFaults = true;
            output += m_engine->answer(QByteArray(buffer, count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // The master reads end of file or EIO only when no slave is open,
        // which our own slave prevents; if it happens all the same, stop
        // listening rather than wake for it without end.
        m_readable->setEnabled(false);
        break;
    }
    if (m_writer)
        m_writer->write(output);
}

void SimLine::flood()
{
    if (m_writer && m_writer->pending() < FloodBacklog)
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
    if (m_writer)
        m_writer->clear();
    m_floodTimer->stop();
}

void SimLine::hangUpOnceRead()
{
    // A hang-up before a word was heard waits for the first one: hung up
    // before the program opens it, the terminal's number is free again, and
    // the program would open whatever device took it next.
    if ((!m_heardSinceFaults || m_pty.unread() > 0) && ++m_hangUpChecks < HangUpChecks)
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
