#include "doctorcommand.h"

#include "clitext.h"
#include "deviceconnection.h"
#include "link/portaccess.h"
#include "link/serveraddress.h"

#include <QFileInfo>
#include <QTextStream>

namespace
{

// One port's lines: its entry, path and node, then what stands in its way.
bool reportPort(QTextStream &out, const PortDirectory &ports, int number)
{
    const QString path = ports.location(number);
    if (serverAddress(path)) {
        // No node, group or holder: whether it answers shows only when a dialogue connects.
        out << ports.entryText(number) << ": " << path << "\n  "
            << CliText::tr("a serial server, not checked here") << '\n';
        return true;
    }
    const QString target = QFileInfo(path).canonicalFilePath();
    out << ports.entryText(number) << ": " << path;
    if (!target.isEmpty() && target != path)
        out << " -> " << target;
    if (const QString node = PortAccess::nodeSummary(path); !node.isEmpty())
        out << " (" << node << ')';
    const PortAccess::Finding finding = PortAccess::probe(path);
    out << "\n  " << (finding.obstacle == PortAccess::Obstacle::None ? CliText::tr("opens") : finding.text)
        << '\n';
    return finding.obstacle == PortAccess::Obstacle::None;
}

int runDoctor(const QStringList &arguments)
{
    QString port;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) != QStringLiteral("--port") || !port.isEmpty())
            return usageError(CliText::tr("doctor: unexpected argument '%1'").arg(arguments.at(i)));
        if (i + 1 >= arguments.size())
            return usageError(CliText::tr("doctor: --port needs a value"));
        port = arguments.at(++i);
    }
    DeviceConnection connection(QStringLiteral("doctor"), false);
    QString error;
    if (!port.isEmpty() && !connection.usePort(port, &error))
        return usageError(error);
    DevicePort &device = connection.link().port();
    if (!port.isEmpty() && device.portNumberInUse() == 0)
        return usageError(CliText::tr("doctor: there is no port %1").arg(port));
    const QList<int> numbers =
        port.isEmpty() ? device.directory().numbers() : QList<int>{device.portNumberInUse()};

    QTextStream out(stdout);
    out << PortAccess::userSummary() << '\n';
    qsizetype blocked = 0;
    for (const int number : numbers)
        blocked += reportPort(out, device.directory(), number) ? 0 : 1;
    for (const QString &service : PortAccess::grabbingServices())
        out << service << '\n';
    if (numbers.isEmpty()) {
        out << CliText::tr("No serial port found: is the adapter plugged in?") << '\n';
        return ExitFailed;
    }
    if (blocked > 0) {
        out << CliText::tr("%1 of %2 ports cannot be opened.").arg(blocked).arg(numbers.size()) << '\n';
        return ExitFailed;
    }
    out << CliText::tr("Nothing stands in the way.") << '\n';
    return ExitOk;
}

} // namespace

Command doctorCommand()
{
    return {QStringLiteral("doctor"), atOnce(runDoctor)};
}
