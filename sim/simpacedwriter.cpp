#include "simpacedwriter.h"

#include "simwire.h"

#include <algorithm>
#include <utility>

namespace
{

constexpr qint64 CharacterNs = 1'000'000'000 / SimPacedWriter::CharactersPerSecond;
// A line idle for longer than this starts its timing afresh; below it the
// writer catches up with timer wake-ups that came late.
constexpr qint64 IdleNs = 5'000'000;

} // namespace

SimPacedWriter::SimPacedWriter(SimWire *wire, QObject *parent) : QObject(parent), m_wire(wire)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimPacedWriter::pump);
    connect(m_wire, &SimWire::writable, this, [this] {
        if (std::exchange(m_lineFull, false))
            pump();
    });
}

void SimPacedWriter::write(const QByteArray &data)
{
    if (data.isEmpty())
        return;
    m_pending += data;
    if (!m_timer.isActive() && !m_lineFull)
        pump();
}

void SimPacedWriter::clear()
{
    m_pending.clear();
    m_timer.stop();
    m_lineFull = false;
}

void SimPacedWriter::setPaced(bool paced)
{
    m_paced = paced;
}

void SimPacedWriter::setChunks(int size, int delayMs)
{
    m_chunkSize = std::max(0, size);
    m_chunkDelayMs = std::max(0, delayMs);
}

void SimPacedWriter::setLimit(qint64 limit)
{
    m_limit = limit;
    if (m_limit == 0)
        emit limitReached();
}

void SimPacedWriter::pump()
{
    while (!m_pending.isEmpty() && m_limit != 0) {
        const qint64 now = m_clock.nsecsElapsed();
        if (now < m_holdUntilNs) {
            schedule(m_holdUntilNs - now);
            return;
        }
        qint64 count = m_pending.size();
        if (m_paced) {
            count = std::min(count, lineAllows(now));
            if (count == 0) {
                schedule(m_lineFreeNs - now);
                return;
            }
        }
        if (m_chunkSize > 0)
            count = std::min<qint64>(count, m_chunkSize);
        if (m_limit > 0)
            count = std::min(count, m_limit);

        const qint64 written = m_wire->write(m_pending.constData(), count);
        if (written == 0) {
            m_lineFull = true;
            return;
        }
        if (written < 0) {
            m_pending.clear();
            emit failed();
            return;
        }
        m_pending.remove(0, written);
        if (m_paced)
            m_lineFreeNs += written * CharacterNs;
        if (m_chunkSize > 0 && m_chunkDelayMs > 0)
            m_holdUntilNs = m_clock.nsecsElapsed() + qint64(m_chunkDelayMs) * 1'000'000;
        if (m_limit > 0)
            m_limit -= written;
        emit sent(written);
        if (m_limit == 0) {
            emit limitReached();
            return;
        }
    }
}

void SimPacedWriter::schedule(qint64 waitNs)
{
    m_timer.start(int(std::max<qint64>(1, (waitNs + 999'999) / 1'000'000)));
}

qint64 SimPacedWriter::lineAllows(qint64 nowNs)
{
    if (m_lineFreeNs < nowNs - IdleNs)
        m_lineFreeNs = nowNs;
    if (m_lineFreeNs > nowNs)
        return 0;
    return (nowNs - m_lineFreeNs) / CharacterNs + 1;
}
