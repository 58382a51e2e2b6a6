#include "link/devicelink.h"

DeviceLink::DeviceLink(QObject *parent) : QObject(parent)
{
    // Every batch the ring takes wakes the wait, whether the port announced
    // it or reading made room for what the port still held.
    m_ring.setSource([this](qint64 maxCount) {
        const QByteArray batch = m_port.read(maxCount);
        if (!batch.isEmpty())
            m_clock.wake();
        return batch;
    });
    connect(&m_port, &DevicePort::arrived, this, [this] { m_ring.fill(); });
    m_clock.setLineEnded([this] { return m_port.lineEnded(); });
    connect(&m_port, &DevicePort::connectionLost, &m_clock, &WaitClock::wake);
    connect(&m_port, &DevicePort::closedOnPurpose, &m_clock, &WaitClock::wake);
}
