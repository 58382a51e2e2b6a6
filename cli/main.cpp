#include "base/appinfo.h"
#include "base/translations.h"
#include "clitext.h"
#include "command.h"
#include "comparecommands.h"
#include "devicecommands.h"
#include "deviceconnection.h"
#include "doctorcommand.h"
#include "filecommands.h"
#include "reportcommand.h"
#include "signalcancel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

int usageError(const QString &message)
{
    QTextStream(stderr) << "tavikctl: " << message << '\n' << CliText::tr("Try 'tavikctl --help'.") << '\n';
    return ExitUsage;
}

Task<int> runAtOnce(int (*run)(const QStringList &), QStringList args)
{
    co_return run(args);
}

namespace {

QList<Command> allCommands()
{
    QList<Command> commands = fileCommands();
    commands += deviceCommands();
    commands << doctorCommand();
    commands += comparisonCommands();
    commands << reportCommand();
    return commands;
}

void printHelp(const QList<Command> &commands)
{
    QTextStream out(stdout);
    out << CliText::tr("Usage: tavikctl COMMAND [OPTIONS]") << "\n\n"
        << CliText::tr("%1, from the command line.").arg(AppInfo::title()) << "\n\n"
        << CliText::tr("Commands:") << '\n';
    for (const Command &command : commands)
        out << "  " << command.synopsis.leftJustified(46) << ' ' << command.summary << '\n';
    out << '\n'
        << CliText::tr(
               "Options:\n"
               "  --help     show this help\n"
               "  --version  show the version\n"
               "  --json     (ports, read, program, verify, diff) one JSON document on stdout instead of "
               "text\n"
               "  --port PORT again, or --ports-from FILE (a port a line, # for comments): read, program,\n"
               "             verify, pc-control, latch and moment on every port at once; each line begins\n"
               "             with its port and a tab, --json has an entry for each port, -o FILE needs\n"
               "             {port} (-o 'site-{port}.csv'); exit 1 when any device failed, else 4 when any\n"
               "             differs\n"
               "  SIGINT, SIGTERM  cancel: each device is sent back to its menu and its port closed; exit\n"
               "             130 or 143 (--json: \"cancelled\": true and the relays done); a second signal\n"
               "             ends at once\n");
}

// Runs the command to its end: at once when it never waits, else on the
// event loop, where a signal cancels it.
int runCommand(const Command &command, const QStringList &args)
{
    SignalCancel cancel;
    QObject::connect(&cancel, &SignalCancel::cancelRequested, &DeviceConnection::cancelAll);
    Task<int> run = command.run(args);
    run.start([] { QCoreApplication::exit(); });
    if (!run.isDone())
        QCoreApplication::exec();
    return run.takeResult();
}

// The record is drawn, which takes a QGuiApplication; it runs on the offscreen
// platform, so that no display is needed. Every other command keeps the
// lighter start. A word "report" elsewhere only costs that start.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "report") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    installTranslations();
    QCoreApplication::setApplicationName(QStringLiteral("tavikctl"));
    QCoreApplication::setApplicationVersion(AppInfo::versionText());

    const QList<Command> commands = allCommands();
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(CliText::tr("no command given"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printHelp(commands);
        return ExitOk;
    }
    if (args.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << "tavikctl " << AppInfo::versionText() << '\n';
        return ExitOk;
    }

    // The command is the first word that is not an option or an option's value;
    // device options such as "--port PATH" may come before it.
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &word = args.at(i);
        if (word.startsWith(u'-')) {
            if (word == QStringLiteral("--port") || word == QStringLiteral("-o") ||
                word == QStringLiteral("-i") || word == QStringLiteral("--relay") ||
                word == QStringLiteral("--ports-from") || word == QStringLiteral("--title") ||
                word == QStringLiteral("--page"))
                ++i;
            continue;
        }
        for (const Command &command : commands) {
            if (command.name == word) {
                args.removeAt(i);
                return runCommand(command, args);
            }
        }
        return usageError(CliText::tr("unknown command '%1'").arg(word));
    }
    return usageError(CliText::tr("no command given"));
}
