#include "link/devicelink.h"

#include "link/portnumber.h"
#include "base/failure.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>

DeviceLink::DeviceLink(QObject *parent) : QObject(parent)
{
    m_tmrTimer.setInterval(100);
    m_tmrTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tmrTimer, &QTimer::timeout, this, [this] {
        ++m_timerTicks;
        emit ticked();
    });
    connect(&m_comSerPort, &SerialControl::dataArrived, this, &DeviceLink::takeArrivals);
    connect(&m_comSerPort, &SerialControl::connectionLost, this, &DeviceLink::onConnectionLost);
}

void DeviceLink::setRescanBusy(bool busy)
{
    if (busy == m_rescanBusy)
        return;
    m_rescanBusy = busy;
    emit rescanBusyChanged(busy);
}

qint16 DeviceLink::OpenSerPort()
{
    if (m_rescanBusy)
        return 0;
    const qint16 number = portNumberFromText(m_portText);
    if (m_comSerPort.portOpen())
        return 0;
    QString error;
    if (!m_comSerPort.setCommPort(number, &error))
        logFailure(Failure::PortNumber, QStringLiteral("OpenSerPort"), 3, error);
    m_lineLost = false;
    m_closedOnPurpose = false;
    if (!m_comSerPort.setPortOpen(true, &error))
        logFailure(Failure::PortOpen, QStringLiteral("OpenSerPort"), 3, error);
    return 1;
}

qint16 DeviceLink::CloseSerPort()
{
    if (!m_comSerPort.portOpen())
        return 0;
    QString error;
    if (!m_comSerPort.setPortOpen(false, &error))
        logFailure(Failure::PortClose, QStringLiteral("CloseSerPort"), 1, error);
    // Nothing more can arrive: a dialogue waiting on the line ends now
    // instead of at its timeout.
    m_closedOnPurpose = true;
    emit closedOnPurpose();
    return 1;
}

namespace
{

bool canOpen(SerialControl &port, qint16 number)
{
    if (!port.setCommPort(number))
        return false;
    port.setPortOpen(true);
    const bool available = port.portOpen();
    if (available)
        port.setPortOpen(false);
    return available;
}

} // namespace

bool DeviceLink::PortAvailable(qint16 number)
{
    QCoreApplication::processEvents();
    // A number no port has is answered without touching the port.
    if (m_ports.location(number).isEmpty())
        return false;
    if (!m_comSerPort.portOpen())
        return canOpen(m_comSerPort, number);
    // A rescan started from a dialogue's wait leaves that dialogue's port
    // alone: the port it holds is listed, the others are tried aside.
    if (number == m_comSerPort.commPort())
        return true;
    SerialControl probe{m_ports};
    return canOpen(probe, number);
}

QStringList DeviceLink::rescanPorts()
{
    setRescanBusy(true);
    m_ports.refresh();
    QStringList entries;
    for (qint16 number = 1; number <= 255; ++number) {
        QCoreApplication::processEvents();
        if (PortAvailable(number))
            entries.append(m_ports.entryText(number));
    }
    setRescanBusy(false);
    return entries;
}

bool DeviceLink::ringFull() const
{
    return (m_rxWritePos + 1) % RxRingSize == m_rxReadPos;
}

void DeviceLink::takeArrivals()
{
    if (m_comSerPort.inBufferCount() == 0 || ringFull())
        return;
    // What does not fit stays in the port; ReadChar fetches it once there is room.
    const qint64 room = RxRingSize - 1 - m_rxCount;
    const QByteArray batch = m_comSerPort.input(room);
    for (const char c : batch) {
        RxRing[size_t(m_rxWritePos)] = c;
        m_rxWritePos = qint16((m_rxWritePos + 1) % RxRingSize);
        ++m_rxCount;
    }
    if (!batch.isEmpty())
        emit arrived();
}

char DeviceLink::ReadChar()
{
    if (m_rxReadPos == m_rxWritePos)
        return '\0';
    const char c = RxRing[size_t(m_rxReadPos)];
    m_rxReadPos = qint16((m_rxReadPos + 1) % RxRingSize);
    --m_rxCount;
    // The port announces new characters only once; those it still holds
    // come in as soon as the ring has room for them.
    if (m_comSerPort.inBufferCount() > 0)
        takeArrivals();
    return c;
}

void DeviceLink::clearRxRing()
{
    m_rxReadPos = m_rxWritePos;
    m_rxCount = 0;
    if (m_comSerPort.inBufferCount() > 0)
        takeArrivals();
}

void DeviceLink::startTicks()
{
    if (m_waiting)
        m_outerTicks.append(m_timerTicks);
    m_waiting = true;
    ++m_waitsStarted;
    m_timerTicks = 0;
    m_tmrTimer.start();
}

void DeviceLink::stopTicks()
{
    if (!m_outerTicks.isEmpty()) {
        // The interrupted wait goes on with its own count and its tick.
        m_timerTicks = m_outerTicks.takeLast();
        return;
    }
    m_waiting = false;
    m_tmrTimer.stop();
}

bool DeviceLink::waitExpired() const
{
    return m_timerTicks > m_timeoutTicks || m_lineLost || m_closedOnPurpose;
}

void DeviceLink::awaitActivity()
{
    if (m_rxCount > 0 || waitExpired())
        return;
    // Without the tick nothing would end a wait on a silent line.
    if (!m_tmrTimer.isActive()) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    connect(this, &DeviceLink::arrived, &loop, &QEventLoop::quit);
    connect(this, &DeviceLink::ticked, &loop, &QEventLoop::quit);
    connect(this, &DeviceLink::connectionLost, &loop, &QEventLoop::quit);
    connect(this, &DeviceLink::closedOnPurpose, &loop, &QEventLoop::quit);
    // exec() refuses to start while the application quits; asking again
    // would spin, so the wait is over as if its time were up.
    if (loop.exec() < 0)
        m_timerTicks = std::max(m_timerTicks, qint16(m_timeoutTicks + 1));
}

void DeviceLink::onConnectionLost()
{
    m_lineLost = true;
    emit connectionLost();
}
