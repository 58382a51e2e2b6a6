#include "base/appinfo.h"
#include "base/failure.h"
#include "base/translations.h"
#include "clitext.h"
#include "commandhelp.h"
#include "command.h"
#include "comparecommands.h"
#include "devicecommands.h"
#include "deviceconnection.h"
#include "doctorcommand.h"
#include "filecommands.h"
#include "reportcommand.h"
#include "setcommand.h"
#include "progressline.h"
#include "signalcancel.h"
#include "terminal.h"
#include "terminalview.h"

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

int unknownCommand(const QString &word)
{
    const QString meant = CommandHelp::closest(word);
    if (meant.isEmpty())
        return usageError(CliText::tr("unknown command '%1'").arg(word));
    return usageError(CliText::tr("unknown command '%1'; did you mean '%2'?").arg(word, meant));
}

QList<Command> allCommands()
{
    QList<Command> commands = fileCommands();
    commands += deviceCommands();
    commands << doctorCommand();
    commands += comparisonCommands();
    commands << reportCommand();
    commands << setCommand();
    return commands;
}

int printHelp(const QString &command)
{
    const int columns = Terminal::columns(stdout);
    const QString text = command.isEmpty() ? CommandHelp::overview(columns) : CommandHelp::page(command, columns);
    if (text.isEmpty())
        return unknownCommand(command);
    QTextStream(stdout) << text;
    return ExitOk;
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
    ProgressLine::shared().clear();
    return run.takeResult();
}

// The toolkit's own remarks (a runtime folder it had to choose, a painter
// that could not begin) mean nothing to a person at a shell: every failure
// tavikctl meets it says in its own words. The simulated device's remarks
// and anything grave still get through.
void keepToolkitQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg || message.startsWith(QLatin1String("TavikSimulator:")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
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
    qInstallMessageHandler(keepToolkitQuiet);
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    installTranslations();
    QCoreApplication::setApplicationName(QStringLiteral("tavikctl"));
    QCoreApplication::setApplicationVersion(AppInfo::versionText());

    const QList<Command> commands = allCommands();
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(CliText::tr("no command given"));
    const bool wantsHelp = args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
    // Any command may be quietened; none takes the word for anything else.
    const qsizetype quietened = args.removeAll(QStringLiteral("--quiet")) + args.removeAll(QStringLiteral("-q"));
    TerminalView::setQuiet(quietened > 0);
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
        if (word == QLatin1String("help")) {
            const QString topic = args.value(i + 1);
            return printHelp(topic.startsWith(u'-') ? word : topic);
        }
        for (const Command &command : commands) {
            if (command.name == word) {
                if (wantsHelp)
                    return printHelp(word);
                setFailureOwner(QStringLiteral("tavikctl ") + word);
                args.removeAt(i);
                return runCommand(command, args);
            }
        }
        return unknownCommand(word);
    }
    if (wantsHelp)
        return printHelp({});
    return usageError(CliText::tr("no command given"));
}
