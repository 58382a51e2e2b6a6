#include "filecommands.h"

#include "base/errorlog.h"
#include "base/inputfile.h"
#include "clitext.h"
#include "config/tavikfile.h"

#include <QTextStream>

QString fileFaultPlace(const FileFault &fault)
{
    if (fault.line == 0)
        return {};
    QString place = CliText::tr("line %1").arg(fault.line);
    if (fault.column > 0) {
        place += CliText::tr(", column %1").arg(fault.column);
        place += fault.found.isNull() ? CliText::tr(" (end of line)")
                                      : CliText::tr(" ('%1')").arg(visibleText(QString(fault.found)));
    }
    return place + QStringLiteral(": ");
}

namespace
{

int showFile(const QStringList &args)
{
    QStringList files;
    for (const QString &arg : args) {
        if (arg.startsWith(u'-') && arg.size() > 1)
            return usageError(CliText::tr("show: unknown option '%1'").arg(arg));
        files << arg;
    }
    if (files.size() != 1)
        return usageError(CliText::tr("show takes exactly one FILE"));
    const QString &path = files.first();

    RelayTable table{};
    QString status;
    FileFault fault;
    const FileResult result = openConfigFile(table, path, status, &fault);

    // The date line is the file's own text, which may hold terminal commands.
    QTextStream out(stdout);
    const QStringList lines = status.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i)
        out << visibleText(lines.at(i)) << (i + 1 < lines.size() ? "\n" : "");
    if (result == FileResult::Ok) {
        for (const QString &note : outOfRangeNotes(table))
            out << note << '\n';
        return ExitOk;
    }
    QTextStream err(stderr);
    if (!status.isEmpty() && !status.endsWith(u'\n'))
        out << '\n';
    if (result == FileResult::Failed) {
        err << CliText::tr("tavikctl: %1: %2 (logged in %3)")
                   .arg(path, fileFaultPlace(fault) + fault.what, errorLogPath())
            << '\n';
        return ExitFileFailed;
    }
    err << "tavikctl: " << path << ": " << fileFaultPlace(fault) << fault.what << '\n';
    return int(result);
}

int newFile(const QStringList &args)
{
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("-o")) {
            if (i + 1 >= args.size())
                return usageError(CliText::tr("new: -o needs a FILE"));
            if (!path.isEmpty())
                return usageError(CliText::tr("new: -o given twice"));
            path = args.at(++i);
        } else if (arg.startsWith(u'-')) {
            return usageError(CliText::tr("new: unknown option '%1'").arg(arg));
        } else {
            return usageError(CliText::tr("new: unexpected argument '%1'").arg(arg));
        }
    }
    if (path.isEmpty())
        return usageError(CliText::tr("new needs -o FILE"));

    RelayTable table{};
    for (RelayConfig &relay : table)
        ClearRelay(relay);
    QString problem;
    if (saveConfigFile(table, path, &problem) != FileResult::Ok) {
        QTextStream(stderr) << CliText::tr("tavikctl: %1 (logged in %2)\n").arg(problem, errorLogPath());
        return ExitFileFailed;
    }
    return ExitOk;
}

} // namespace

QList<Command> fileCommands()
{
    return {
        {QStringLiteral("show"), QStringLiteral("show FILE"),
         CliText::tr("print a configuration file's date and relays, and the values in it the device does "
                     "not take (exit 1-7: format fault, 8: unreadable)"),
         atOnce(showFile)},
        {QStringLiteral("new"), QStringLiteral("new -o FILE"),
         CliText::tr("write 16 cleared relays to FILE (exit 8: not written)"), atOnce(newFile)},
    };
}
