#include "link/deviceport.h"

#include "link/portaccess.h"
#include "base/failure.h"

#include <QCoreApplication>

DevicePort::DevicePort(QObject *parent) : QObject(parent)
{
    for (PortChannel *channel : std::initializer_list<PortChannel *>{&m_serial, &m_server}) {
        connect(channel, &PortChannel::dataArrived, this, &DevicePort::arrived);
        connect(channel, &PortChannel::connectionLost, this, &DevicePort::onConnectionLost);
    }
}

void DevicePort::setPortLocation(const QString &location)
{
    m_location = location;
    m_missingNumber = location.isEmpty() ? 1 : 0;
}

void DevicePort::setPortNumber(int number)
{
    m_location = m_directory.location(number);
    m_missingNumber = m_location.isEmpty() ? number : 0;
}

namespace
{

// Qt reads a port's lock file as it opens the port: one that is no plain
// file (a FIFO nobody writes to) could block the open for good.
bool lockWouldBlock(const QString &location)
{
    return !PortAccess::node(location, PortAccess::Identity{}).strangeLock.isEmpty();
}

bool canOpen(SerialControl &port, int number, const QString &location)
{
    if (lockWouldBlock(location) || !port.setCommPort(number))
        return false;
    port.setPortOpen(true);
    const bool available = port.portOpen();
    if (available)
        port.setPortOpen(false);
    return available;
}

} // namespace

DevicePort::OpenResult DevicePort::open()
{
    if (m_channel->portOpen())
        return OpenResult::AlreadyOpen;
    // The number as the directory has it now: a rescan may have moved it.
    const int number = m_location.isEmpty() ? m_missingNumber : portNumberInUse();
    if (serverAddress(m_location))
        m_channel = &m_server;
    else
        m_channel = &m_serial;
    QString error;
    m_openLocation = m_location;
    if (!m_channel->setCommPort(number, &error))
        logFailure(Failure::PortNumber, QStringLiteral("OpenSerPort"), 3, error);
    m_lineLost = false;
    m_closedOnPurpose = false;
    const bool lockBlocks = m_channel == &m_serial && lockWouldBlock(m_location);
    if (lockBlocks)
        error = QStringLiteral("its lock file is not a regular file");
    if (lockBlocks || !m_channel->setPortOpen(true, &error)) {
        logFailure(Failure::PortOpen, QStringLiteral("OpenSerPort"), 3, error);
        m_openRefusal = refusalText(error);
        return OpenResult::Refused;
    }
    return OpenResult::Opened;
}

QString DevicePort::refusalText(const QString &error) const
{
    const QString path = m_location;
    if (path.isEmpty())
        return tr("There is no port Com%1: choose one the port list offers.").arg(m_missingNumber);
    // Only a serial device has a node, a group and holders to look at.
    const QString reason = m_channel == &m_serial
                               ? PortAccess::check(path, m_serial.lastOpenError(), m_serial.lastOpenErrorText()).text
                               : QString();
    return reason.isEmpty() ? tr("%1 cannot be opened: %2.").arg(path, error) : reason;
}

bool DevicePort::close()
{
    if (!m_channel->portOpen())
        return false;
    QString error;
    if (!m_channel->setPortOpen(false, &error))
        logFailure(Failure::PortClose, QStringLiteral("CloseSerPort"), 1, error);
    // Nothing more can arrive: a dialogue waiting on the line ends now
    // instead of at its timeout.
    m_closedOnPurpose = true;
    emit closedOnPurpose();
    return true;
}


bool DevicePort::isAvailable(int number)
{
    // A number no port has is answered without touching the port.
    if (m_directory.location(number).isEmpty())
        return false;
    // A server is only reached when a dialogue opens it: a probe would hold
    // the rescan for as long as an unreachable one takes to fail.
    if (serverAddress(m_directory.location(number)))
        return true;
    if (!m_serial.portOpen())
        return canOpen(m_serial, number, m_directory.location(number));
    // A rescan while a dialogue holds its port leaves that port alone: it
    // is listed, the others are tried aside.
    if (m_directory.location(number) == m_openLocation)
        return true;
    SerialControl probe{m_directory};
    return canOpen(probe, number, m_directory.location(number));
}

QList<int> DevicePort::rescanPorts()
{
    m_directory.refresh();
    QList<int> found;
    for (const int number : m_directory.numbers()) {
        if (isAvailable(number) || refusedForPermission(number))
            found << number;
    }
    return found;
}

bool DevicePort::refusedForPermission(int number) const
{
    // Listed all the same: choosing it is how the user learns which group is missing.
    const QString path = m_directory.location(number);
    return !path.isEmpty() && PortAccess::check(path).obstacle == PortAccess::Obstacle::Permission;
}

void DevicePort::onConnectionLost()
{
    m_lineLost = true;
    emit connectionLost();
}
