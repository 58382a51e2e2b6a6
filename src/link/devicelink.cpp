#include "link/devicelink.h"

#include <QMetaObject>

DeviceLink::DeviceLink(QObject *parent) : QObject(parent)
{
    m_ring.setSource([this](qint64 maxCount) { return m_port.read(maxCount); });
    connect(&m_port, &DevicePort::arrived, this, [this] {
        m_ring.fill();
        wake();
    });
    m_clock.setLineEnded([this] { return m_port.lineEnded(); });
    connect(&m_clock, &WaitClock::ticked, this, &DeviceLink::wake);
    connect(&m_port, &DevicePort::connectionLost, this, &DeviceLink::wake);
    connect(&m_port, &DevicePort::closedOnPurpose, this, &DeviceLink::wake);
}

DeviceLink::~DeviceLink() = default;

void DeviceLink::wake()
{
    // Resumed from here, the step would run inside the port's own signal,
    // and could close the port under it.
    if (m_resumePosted)
        return;
    m_resumePosted = true;
    QMetaObject::invokeMethod(this, &DeviceLink::resumeWaiting, Qt::QueuedConnection);
}

DeviceLink::Activity DeviceLink::eventsRun()
{
    wake();
    return activity();
}

void DeviceLink::resumeWaiting()
{
    m_resumePosted = false;
    if (const std::coroutine_handle<> waiting = std::exchange(m_waiting, {}))
        waiting.resume();
}

void DeviceLink::cancel()
{
    m_cancelled = true;
    wake();
}
