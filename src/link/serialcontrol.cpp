#include "link/serialcontrol.h"

#include "link/connectionpolicy.h"
#include "link/portdirectory.h"
#include "base/failure.h"

SerialControl::SerialControl(const PortDirectory &ports, QObject *parent) : PortChannel(parent), m_ports(ports)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialControl::dataArrived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialControl::onErrorOccurred);
}

SerialControl::~SerialControl()
{
    // No lost-line report while the control itself goes away.
    m_port.disconnect(this);
    if (m_port.isOpen())
        m_port.close();
}

bool SerialControl::setCommPort(int number, QString *error)
{
    if (m_port.isOpen()) {
        if (error)
            *error = QStringLiteral("the port is open");
        return false;
    }
    const QString location = m_ports.location(number);
    if (location.isEmpty()) {
        // The next open must fail too, not open the port chosen before.
        m_commPort = number;
        m_port.setPortName(QString());
        if (error)
            *error = QStringLiteral("Com") + QString::number(number);
        return false;
    }
    m_commPort = number;
    m_port.setPortName(location);
    return true;
}

bool SerialControl::setPortOpen(bool open, QString *error)
{
    if (open == m_port.isOpen()) {
        if (error)
            *error =
                open ? QStringLiteral("the port is already open") : QStringLiteral("the port is not open");
        return false;
    }
    m_arrivedBeforeLoss.clear();
    if (!open) {
        m_port.close();
        return true;
    }
    if (m_ports.location(m_commPort).isEmpty() || m_port.portName().isEmpty()) {
        if (error)
            *error = QStringLiteral("Com") + QString::number(m_commPort);
        return false;
    }
    m_lastOpenError = QSerialPort::NoError;
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_lastOpenError = m_port.error();
        m_lastOpenErrorText = m_port.errorString();
        if (error)
            *error = m_port.portName() + QStringLiteral(": ") + m_port.errorString();
        return false;
    }
    m_port.setBaudRate(QSerialPort::Baud57600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    // Whatever the line held before this dialogue is not part of it.
    m_port.clear();
    return m_port.isOpen();
}

bool SerialControl::portOpen() const
{
    return m_port.isOpen();
}

qint64 SerialControl::inBufferCount() const
{
    return m_port.isOpen() ? m_port.bytesAvailable() : m_arrivedBeforeLoss.size();
}

QByteArray SerialControl::input(qint64 maxCount)
{
    if (!m_port.isOpen()) {
        const QByteArray taken = m_arrivedBeforeLoss.left(maxCount < 0 ? m_arrivedBeforeLoss.size() : maxCount);
        m_arrivedBeforeLoss.remove(0, taken.size());
        return taken;
    }
    return maxCount < 0 ? m_port.readAll() : m_port.read(maxCount);
}

bool SerialControl::output(const QByteArray &text, QString *error)
{
    if (!m_port.isOpen()) {
        if (error)
            *error = QStringLiteral("the port is not open");
        return false;
    }
    if (m_port.write(text) != text.size()) {
        if (error)
            *error = m_port.errorString();
        return false;
    }
    // A dialogue may close the port right after its last character.
    m_port.flush();
    return true;
}

void SerialControl::onErrorOccurred(QSerialPort::SerialPortError error)
{
    // Only the first report of a lost line counts: closing ends the flood
    // of read errors, and the closed port is not closed a second time.
    if (!isConnectionLost(error) || !m_port.isOpen())
        return;
    const QString detail = m_port.portName() + QStringLiteral(": ") + m_port.errorString();
    m_arrivedBeforeLoss = m_port.readAll();
    m_port.close();
    logFailure(Failure::PortLost, QStringLiteral("portEvent"), 1, detail);
    if (!m_arrivedBeforeLoss.isEmpty())
        emit dataArrived();
    emit connectionLost();
}
