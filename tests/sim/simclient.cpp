#include "simclient.h"

#include <QTest>

#include <utility>

SimClient::SimClient(const QString &portPath)
{
    m_port.setPortName(portPath);
    m_port.setBaudRate(57600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] {
        m_buffer += m_port.readAll();
        ++m_arrivals;
    });
    if (m_port.open(QIODevice::ReadWrite))
        m_port.clear();
}

void SimClient::send(const QByteArray &bytes)
{
    m_port.write(bytes);
    m_port.flush();
}

QByteArray SimClient::awaitText(const QByteArray &text, int timeoutMs)
{
    if (!QTest::qWaitFor([&] { return m_buffer.contains(text); }, timeoutMs))
        return {};
    const qsizetype end = m_buffer.indexOf(text) + text.size();
    const QByteArray taken = m_buffer.left(end);
    m_buffer.remove(0, end);
    return taken;
}

QByteArray SimClient::awaitCount(int count, int timeoutMs)
{
    // On a timeout the caller gets what did come, and its comparison shows it.
    [[maybe_unused]] const bool complete =
        QTest::qWaitFor([&] { return m_buffer.size() >= count; }, timeoutMs);
    const QByteArray taken = m_buffer.left(count);
    m_buffer.remove(0, taken.size());
    return taken;
}

QByteArray SimClient::collectFor(int ms)
{
    QTest::qWait(ms);
    return takeAll();
}

QByteArray SimClient::takeAll()
{
    return std::exchange(m_buffer, {});
}
