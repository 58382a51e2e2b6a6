#include "link/portdirectory.h"

#include "link/portnumber.h"
#include "link/serveraddress.h"

#include <QCoreApplication>
#include <QDir>
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

QString usbId(bool known, quint16 id)
{
    return known ? QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')) : QString();
}

QList<SystemPort> serialPortInfoPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        ports.append({info.systemLocation(),
                      info.portName(),
                      {info.description(),
                       info.manufacturer(),
                       info.serialNumber(),
                       usbId(info.hasVendorIdentifier(), info.vendorIdentifier()),
                       usbId(info.hasProductIdentifier(), info.productIdentifier()),
                       {}}});
    }
    return ports;
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
    : m_source(serialPortInfoPorts), m_byIdFolder(QStringLiteral("/dev/serial/by-id"))
{
    refresh();
}

void PortDirectory::setSystemPortSource(SystemPortSource source)
{
    m_source = std::move(source);
    refresh();
}

void PortDirectory::refresh()
{
    m_system.clear();
    if (onWindows())
        return;
    m_system = m_source();
    std::sort(m_system.begin(), m_system.end(),
              [](const SystemPort &a, const SystemPort &b) { return a.name < b.name; });
}

int PortDirectory::addRuntimePort(const QString &path, const QString &name)
{
    if (onWindows())
        return int(QString(path).remove(QStringLiteral("\\\\.\\")).mid(3).toInt());
    // A serial server's address is no file name.
    const bool server = serverAddress(path).has_value();
    const QFileInfo info(path);
    const QString absolute = server ? path : info.absoluteFilePath();
    const QString target = server ? QString() : info.canonicalFilePath();
    for (qsizetype system = 0; system < m_system.size(); ++system) {
        const QString &location = m_system.at(system).location;
        if (location == absolute || (!target.isEmpty() && QFileInfo(location).canonicalFilePath() == target))
            return int(system + 1);
    }
    qsizetype runtime = m_runtimePaths.indexOf(absolute);
    if (runtime < 0) {
        m_runtimePaths.append(absolute);
        m_runtimeNames.append(name);
        runtime = m_runtimePaths.size() - 1;
    }
    return int(m_system.size() + runtime + 1);
}

int PortDirectory::numberOfSerial(const QString &serialNumber) const
{
    for (qsizetype system = 0; system < m_system.size(); ++system) {
        if (!serialNumber.isEmpty() && m_system.at(system).adapter.serialNumber == serialNumber)
            return int(system + 1);
    }
    return 0;
}

QString PortDirectory::location(int number) const
{
    if (number < 1)
        return {};
    if (onWindows())
        return QStringLiteral("COM") + QString::number(number);
    const qsizetype index = number - 1;
    if (index < m_system.size())
        return m_system.at(index).location;
    const qsizetype runtime = index - m_system.size();
    return runtime < m_runtimePaths.size() ? m_runtimePaths.at(runtime) : QString();
}

QString PortDirectory::systemName(int number) const
{
    if (onWindows())
        return location(number);
    const qsizetype index = number - 1;
    if (index >= 0 && index < m_system.size())
        return m_system.at(index).name;
    const qsizetype runtime = index - m_system.size();
    if (runtime >= 0 && runtime < m_runtimeNames.size() && !m_runtimeNames.at(runtime).isEmpty())
        return m_runtimeNames.at(runtime);
    const QString path = location(number);
    return path.isEmpty() ? path : shortPortName(path);
}

int PortDirectory::count() const
{
    return int(m_system.size() + m_runtimePaths.size());
}

QString PortDirectory::entryText(int number) const
{
    return portEntryText(number, systemName(number));
}

AdapterInfo PortDirectory::adapter(int number) const
{
    const qsizetype index = number - 1;
    AdapterInfo adapter = index >= 0 && index < m_system.size() ? m_system.at(index).adapter : AdapterInfo{};
    const QString target = QFileInfo(location(number)).canonicalFilePath();
    if (target.isEmpty() || onWindows())
        return adapter;
    // The by-id links are named after the adapter, so they survive replugging.
    const QDir byId(m_byIdFolder);
    for (const QFileInfo &link :
         byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (link.canonicalFilePath() == target && link.absoluteFilePath() != location(number)) {
            adapter.byIdPath = link.absoluteFilePath();
            break;
        }
    }
    return adapter;
}

QStringList PortDirectory::descriptionLines(int number) const
{
    const QString path = location(number);
    if (path.isEmpty())
        return {};
    QStringList lines{QCoreApplication::translate("PortDirectory", "Path: %1").arg(path)};
    const QString target = QFileInfo(path).canonicalFilePath();
    if (!target.isEmpty() && target != path)
        lines << QCoreApplication::translate("PortDirectory", "Device: %1").arg(target);
    return lines + adapterLines(adapter(number));
}
