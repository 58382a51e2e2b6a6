#include "link/portdirectory.h"

#include "link/portnumber.h"
#include "link/serveraddress.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

namespace
{

bool onWindows()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

} // namespace

QString shortPortName(const QString &path)
{
    if (const std::optional<ServerAddress> server = serverAddress(path))
        return server->hostAndPort();
    const QFileInfo info(path);
    // A link's own name is the one the user gave it; where it points says less.
    if (info.isSymLink())
        return info.fileName();
    const QString devices = QStringLiteral("/dev/");
    const QString absolute = info.absoluteFilePath();
    if (absolute.startsWith(devices) && absolute.size() > devices.size())
        return absolute.mid(devices.size());
    return info.fileName();
}

PortDirectory::PortDirectory()
{
    refresh();
}

void PortDirectory::refresh()
{
    m_systemLocations.clear();
    m_systemNames.clear();
    if (onWindows())
        return;
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(),
              [](const QSerialPortInfo &a, const QSerialPortInfo &b) { return a.portName() < b.portName(); });
    for (const QSerialPortInfo &port : ports) {
        m_systemLocations.append(port.systemLocation());
        m_systemNames.append(port.portName());
    }
}

qint16 PortDirectory::addRuntimePort(const QString &path)
{
    if (onWindows())
        return qint16(QString(path).remove(QStringLiteral("\\\\.\\")).mid(3).toInt());
    // A serial server's address is no file name.
    const QString absolute = serverAddress(path) ? path : QFileInfo(path).absoluteFilePath();
    const qsizetype system = m_systemLocations.indexOf(absolute);
    if (system >= 0)
        return qint16(system + 1);
    qsizetype runtime = m_runtimePaths.indexOf(absolute);
    if (runtime < 0) {
        m_runtimePaths.append(absolute);
        runtime = m_runtimePaths.size() - 1;
    }
    return qint16(m_systemLocations.size() + runtime + 1);
}

QString PortDirectory::location(qint16 number) const
{
    if (number < 1)
        return {};
    if (onWindows())
        return QStringLiteral("COM") + QString::number(number);
    const qsizetype index = number - 1;
    if (index < m_systemLocations.size())
        return m_systemLocations.at(index);
    const qsizetype runtime = index - m_systemLocations.size();
    return runtime < m_runtimePaths.size() ? m_runtimePaths.at(runtime) : QString();
}

QString PortDirectory::systemName(qint16 number) const
{
    if (onWindows())
        return location(number);
    const qsizetype index = number - 1;
    if (index >= 0 && index < m_systemNames.size())
        return m_systemNames.at(index);
    const QString path = location(number);
    return path.isEmpty() ? path : shortPortName(path);
}

qint16 PortDirectory::count() const
{
    return qint16(m_systemLocations.size() + m_runtimePaths.size());
}

QString PortDirectory::entryText(qint16 number) const
{
    return portEntryText(number, systemName(number));
}
