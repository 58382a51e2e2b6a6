#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicesession.h"
#include "finish.h"
#include "privateport.h"
#include "sessionrecorder.h"
#include "taviksimulator.h"

#include <QFile>
#include <QStringList>

// Everything a dialogue test needs, wired as the window wires it: the
// simulated device on its pseudo-terminal, the link pointed at it through
// the port list, a relay table, the session over it and what its signals
// said. Timeouts are cut to 3 ticks unless a test says otherwise.
struct DialogueRig {
    TavikSimulator device;
    RelayTable table{};
    DeviceSession session{table};
    DeviceLink &link = session.link();
    DeviceDialogues &dialogues = session.dialogues();
    DeviceCommands &commands = session.commands();
    SessionRecorder view{session};
    QString portPath; // the device's terminal, by a name of this process's own

    // Starts the device; false (with the reason in error) when it cannot.
    bool start(QString *error = nullptr)
    {
        if (qgetenv("TAVIK_TEST_LINE") == "tcp")
            device.listenOn(QStringLiteral("127.0.0.1"), 0);
        if (!device.start(error))
            return false;
        useDevice(device);
        link.clock().setTimeoutTicks(2);
        return true;
    }

    // Points the link at a device's terminal, as choosing it in the port list does.
    void useDevice(const TavikSimulator &other)
    {
        const QString path = other.portPath();
        portPath = path.startsWith(QLatin1String("tcp://")) ? path : privatePortPath(path);
        PortDirectory &ports = link.port().directory();
        link.port().setPortLocation(ports.location(ports.addRuntimePort(portPath)));
    }
};

// The lines of an error log that name a procedure.
inline QStringList loggedFailures(const QString &logPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll())
        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
        .filter(QStringLiteral(" in procedure "));
}
