#include "link/portdirectory.h"

#include "link/serveraddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

namespace
{

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

// n for Windows' "COMn", else 0.
int comNumber(const QString &name)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]{0,4})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// Windows' ports by the name the user knows them by, with or without the
// device namespace prefix.
QString windowsPortName(const QString &path)
{
    const QString prefix = QStringLiteral("\\\\.\\");
    return (path.startsWith(prefix) ? path.mid(prefix.size()) : path).toUpper();
}

bool samePort(const SystemPort &a, const SystemPort &b)
{
    return a.location == b.location && a.adapter.serialNumber == b.adapter.serialNumber;
}

// What is in ports and not in others.
QList<SystemPort> missingFrom(const QList<SystemPort> &ports, const QList<SystemPort> &others)
{
    QList<SystemPort> missing;
    for (const SystemPort &port : ports) {
        if (std::none_of(others.cbegin(), others.cend(),
                         [&](const SystemPort &o) { return samePort(port, o); }))
            missing << port;
    }
    return missing;
}

} // namespace

PortSystem hostPortSystem()
{
#if defined(Q_OS_WIN)
    return PortSystem::Windows;
#elif defined(Q_OS_MACOS)
    return PortSystem::Mac;
#else
    return PortSystem::Unix;
#endif
}

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
    m_watchDeviceNodes = false;
    refresh();
}

void PortDirectory::setPortSystem(PortSystem system)
{
    m_system = system;
    refresh();
}

PortChanges PortDirectory::refresh()
{
    QList<SystemPort> ports = m_source();
    if (m_system == PortSystem::Mac) {
        // Each adapter shows twice; the tty.* node waits for carrier, which the Tavik never raises.
        const QString waiting = QStringLiteral("/dev/tty.");
        const auto hasTwin = [&ports, &waiting](const SystemPort &port) {
            const QString twin = QStringLiteral("/dev/cu.") + port.location.mid(waiting.size());
            return port.location.startsWith(waiting) &&
                   std::any_of(ports.cbegin(), ports.cend(),
                               [&](const SystemPort &p) { return p.location == twin; });
        };
        QList<SystemPort> kept;
        std::copy_if(ports.cbegin(), ports.cend(), std::back_inserter(kept),
                     [&](const SystemPort &port) { return !hasTwin(port); });
        ports = kept;
    }
    std::sort(ports.begin(), ports.end(),
              [](const SystemPort &a, const SystemPort &b) { return a.name < b.name; });
    PortChanges changes;
    for (const SystemPort &port : missingFrom(m_systemPorts, ports))
        changes.pulledOut.append({port, numberOf(port.location)});
    const QList<SystemPort> pluggedIn = missingFrom(ports, m_systemPorts);
    m_systemPorts = ports;
    renumber();
    for (const SystemPort &port : pluggedIn)
        changes.pluggedIn.append({port, numberOf(port.location)});
    return changes;
}

bool PortDirectory::systemPortsMayHaveChanged()
{
    // Windows has no device nodes to look at; its own list is the way to know.
    if (!m_watchDeviceNodes || m_system == PortSystem::Windows)
        return true;
    QStringList nodes =
        QDir(QStringLiteral("/dev")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    if (nodes == m_deviceNodes)
        return false;
    m_deviceNodes = std::move(nodes);
    return true;
}

void PortDirectory::renumber()
{
    m_entries.clear();
    QList<SystemPort> unnumbered;
    for (const SystemPort &port : std::as_const(m_systemPorts)) {
        const int com = m_system == PortSystem::Windows ? comNumber(port.name) : 0;
        if (com > 0 && !entry(com))
            m_entries.append({com, port});
        else
            unnumbered << port;
    }
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry &a, const Entry &b) { return a.number < b.number; });
    int next = count() + 1;
    for (const SystemPort &port : std::as_const(unnumbered))
        m_entries.append({next++, port});
    for (const SystemPort &port : std::as_const(m_runtimePorts)) {
        // A run-time port the system now lists is that port.
        if (!numberOf(port.location))
            m_entries.append({next++, port});
    }
}

const PortDirectory::Entry *PortDirectory::entry(int number) const
{
    const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                    [number](const Entry &e) { return e.number == number; });
    return found == m_entries.cend() ? nullptr : &*found;
}

int PortDirectory::addRuntimePort(const QString &path, const QString &name)
{
    // A serial server's address is no file name, nor is a Windows port's.
    const bool server = serverAddress(path).has_value();
    const bool windows = m_system == PortSystem::Windows;
    const QFileInfo info(path);
    const QString absolute = server || windows ? path : info.absoluteFilePath();
    const QString target = server || windows ? QString() : info.canonicalFilePath();
    for (const SystemPort &port : std::as_const(m_systemPorts)) {
        const bool same =
            windows ? windowsPortName(port.location) == windowsPortName(path) ||
                          windowsPortName(port.name) == windowsPortName(path)
                    : port.location == absolute ||
                          (!target.isEmpty() && QFileInfo(port.location).canonicalFilePath() == target);
        if (same)
            return numberOf(port.location);
    }
    if (const int known = numberOf(absolute); known > 0)
        return known;
    m_runtimePorts.append({absolute, name.isEmpty() ? shortPortName(absolute) : name, {}});
    renumber();
    return count();
}

int PortDirectory::numberOf(const QString &location) const
{
    for (const Entry &e : m_entries) {
        if (!location.isEmpty() && e.port.location == location)
            return e.number;
    }
    return 0;
}

int PortDirectory::numberOfSerial(const QString &serialNumber) const
{
    for (const Entry &e : m_entries) {
        if (!serialNumber.isEmpty() && e.port.adapter.serialNumber == serialNumber)
            return e.number;
    }
    return 0;
}

QList<int> PortDirectory::numbers() const
{
    QList<int> numbers;
    for (const Entry &e : m_entries)
        numbers << e.number;
    return numbers;
}

QString PortDirectory::location(int number) const
{
    const Entry *e = entry(number);
    return e ? e->port.location : QString();
}

QString PortDirectory::systemName(int number) const
{
    const Entry *e = entry(number);
    return e ? e->port.name : QString();
}

int PortDirectory::count() const
{
    return m_entries.isEmpty() ? 0 : m_entries.constLast().number;
}

QString PortDirectory::entryText(int number) const
{
    const QString name = systemName(number);
    if (name.isEmpty() ||
        name.compare(QStringLiteral("COM") + QString::number(number), Qt::CaseInsensitive) == 0)
        return tr("Com%1").arg(number);
    return tr("Com%1 (%2)").arg(number).arg(name);
}

AdapterInfo PortDirectory::adapter(int number) const
{
    const Entry *e = entry(number);
    AdapterInfo adapter = e ? e->port.adapter : AdapterInfo{};
    const QString path = location(number);
    const QString target = m_system == PortSystem::Windows ? QString() : QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return adapter;
    // The by-id links are named after the adapter, so they survive replugging.
    const QDir byId(m_byIdFolder);
    for (const QFileInfo &link :
         byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (link.canonicalFilePath() == target && link.absoluteFilePath() != path) {
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
    QStringList lines{tr("Path: %1").arg(path)};
    const QString target = QFileInfo(path).canonicalFilePath();
    if (!target.isEmpty() && target != path)
        lines << tr("Device: %1").arg(target);
    return lines + adapterLines(adapter(number));
}
