#include "command.h"
#include "comparecommands.h"
#include "devicecommands.h"
#include "doctorcommand.h"
#include "filecommands.h"
#include "base/appinfo.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int usageError(const QString &message)
{
    QTextStream(stderr) << "tavikctl: " << message << "\nTry 'tavikctl --help'.\n";
    return ExitUsage;
}

namespace {

QList<Command> allCommands()
{
    QList<Command> commands = fileCommands();
    commands += deviceCommands();
    commands << doctorCommand();
    commands += comparisonCommands();
    return commands;
}

void printHelp(const QList<Command> &commands)
{
    QTextStream out(stdout);
    out << "Usage: tavikctl COMMAND [OPTIONS]\n\n"
        << AppInfo::title() << ", from the command line.\n\nCommands:\n";
    for (const Command &command : commands)
        out << "  " << command.synopsis.leftJustified(46) << ' ' << command.summary << '\n';
    out << "\nOptions:\n  --help     show this help\n  --version  show the version\n"
        << "  --json     (ports, read, program, verify, diff) one JSON document on stdout instead of text\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavikctl"));
    QCoreApplication::setApplicationVersion(AppInfo::versionText());

    const QList<Command> commands = allCommands();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
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
            if (word == QStringLiteral("--port") || word == QStringLiteral("-o") || word == QStringLiteral("-i") ||
                word == QStringLiteral("--relay"))
                ++i;
            continue;
        }
        for (const Command &command : commands) {
            if (command.name == word) {
                args.removeAt(i);
                return command.run(args);
            }
        }
        return usageError(QStringLiteral("unknown command '%1'").arg(word));
    }
    return usageError(QStringLiteral("no command given"));
}
