#include "devicesession.h"

#include "link/portnumber.h"
#include "link/serveraddress.h"
#include "taviksimulator.h"

#include <QFileInfo>
#include <QRegularExpression>

DeviceSession::DeviceSession() = default;

DeviceSession::~DeviceSession()
{
    // The simulated device hangs up when it stops; close our end first.
    m_link.port().CloseSerPort();
}

bool DeviceSession::usePort(const QString &port, QString *error)
{
    static const QRegularExpression number(QStringLiteral("^(?:com)?(\\d+)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch match = number.match(port); match.hasMatch()) {
        m_link.port().setPortText(QStringLiteral("Com") + match.captured(1));
        return true;
    }
    if (port.startsWith(QStringLiteral("serial:"))) {
        PortDirectory &ports = m_link.port().directory();
        const qint16 found = ports.numberOfSerial(port.mid(7));
        if (found == 0) {
            *error = QStringLiteral("--port: no adapter has the serial number '%1'").arg(port.mid(7));
            return false;
        }
        m_link.port().setPortText(ports.entryText(found));
        return true;
    }
    if (looksLikeServerAddress(port)) {
        if (!serverAddress(port)) {
            *error = QStringLiteral("--port: '%1' is not a serial server's address (tcp://HOST:PORT or "
                                    "rfc2217://HOST:PORT, PORT from 1 to 65535)")
                         .arg(port);
            return false;
        }
        selectRuntimePort(port);
        return true;
    }
    if (!QFileInfo::exists(port)) {
        *error = QStringLiteral("--port: no port number and no such device '%1'").arg(port);
        return false;
    }
    selectRuntimePort(port);
    return true;
}

bool DeviceSession::useSimulator(QString *error)
{
    m_simulator = std::make_unique<TavikSimulator>();
    m_simulator->setStateFile(TavikSimulator::defaultStateFile());
    if (!m_simulator->start(error))
        return false;
    selectRuntimePort(m_simulator->portPath(), TavikSimulator::portListName());
    return true;
}

void DeviceSession::holdPort()
{
    DevicePort &port = m_link.port();
    if (!port.isOpen() && port.PortAvailable(portNumberFromText(port.portText())))
        port.OpenSerPort();
}

void DeviceSession::selectRuntimePort(const QString &path, const QString &name)
{
    PortDirectory &ports = m_link.port().directory();
    const qint16 number = ports.addRuntimePort(path, name);
    m_link.port().setPortText(portEntryText(number, ports.systemName(number)));
}
