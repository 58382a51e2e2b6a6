#include "link/deviceport.h"

#include "link/portnumber.h"
#include "base/failure.h"

#include <QCoreApplication>

DevicePort::DevicePort(QObject *parent) : QObject(parent)
{
    for (PortChannel *channel : std::initializer_list<PortChannel *>{&m_serial, &m_server}) {
        connect(channel, &PortChannel::dataArrived, this, &DevicePort::arrived);
        connect(channel, &PortChannel::connectionLost, this, &DevicePort::onConnectionLost);
    }
}

qint16 DevicePort::OpenSerPort()
{
    if (m_rescanBusy)
        return 0;
    const qint16 number = portNumberFromText(m_portText);
    if (m_channel->portOpen())
        return 0;
    if (serverAddress(m_directory.location(number)))
        m_channel = &m_server;
    else
        m_channel = &m_serial;
    QString error;
    if (!m_channel->setCommPort(number, &error))
        logFailure(Failure::PortNumber, QStringLiteral("OpenSerPort"), 3, error);
    m_lineLost = false;
    m_closedOnPurpose = false;
    if (!m_channel->setPortOpen(true, &error))
        logFailure(Failure::PortOpen, QStringLiteral("OpenSerPort"), 3, error);
    return 1;
}

qint16 DevicePort::CloseSerPort()
{
    if (!m_channel->portOpen())
        return 0;
    QString error;
    if (!m_channel->setPortOpen(false, &error))
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

bool DevicePort::PortAvailable(qint16 number)
{
    QCoreApplication::processEvents();
    // A number no port has is answered without touching the port.
    if (m_directory.location(number).isEmpty())
        return false;
    // A server is only reached when a dialogue opens it: a probe would hold
    // the rescan for as long as an unreachable one takes to fail.
    if (serverAddress(m_directory.location(number)))
        return true;
    if (!m_serial.portOpen())
        return canOpen(m_serial, number);
    // A rescan started from a dialogue's wait leaves that dialogue's port
    // alone: the port it holds is listed, the others are tried aside.
    if (number == m_serial.commPort())
        return true;
    SerialControl probe{m_directory};
    return canOpen(probe, number);
}

QStringList DevicePort::rescanPorts(const std::function<void(const QString &)> &found)
{
    if (m_rescanBusy)
        return {};
    m_rescanBusy = true;
    m_directory.refresh();
    QStringList entries;
    for (qint16 number = 1; number <= 255; ++number) {
        QCoreApplication::processEvents();
        if (!PortAvailable(number))
            continue;
        entries.append(m_directory.entryText(number));
        if (found)
            found(entries.last());
    }
    m_rescanBusy = false;
    return entries;
}

void DevicePort::onConnectionLost()
{
    m_lineLost = true;
    emit connectionLost();
}
