#include "filecommands.h"

#include "config/tavikfile.h"
#include "base/errorlog.h"

#include <QTextStream>

QString fileFaultPlace(const FileFault &fault)
{
    if (fault.line == 0)
        return {};
    QString place = QStringLiteral("line %1").arg(fault.line);
    if (fault.column > 0) {
        place += QStringLiteral(", column %1").arg(fault.column);
        place += fault.found.isNull() ? QStringLiteral(" (end of line)")
                                      : QStringLiteral(" ('%1')").arg(fault.found);
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
            return usageError(QStringLiteral("show: unknown option '%1'").arg(arg));
        files << arg;
    }
    if (files.size() != 1)
        return usageError(QStringLiteral("show takes exactly one FILE"));
    const QString &path = files.first();

    RelayTable table{};
    QString status;
    FileFault fault;
    const FileResult result = openConfigFile(table, path, status, &fault);

    QTextStream(stdout) << QString(status).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (result == FileResult::Ok)
        return ExitOk;
    QTextStream err(stderr);
    if (!status.isEmpty() && !status.endsWith(u'\n'))
        QTextStream(stdout) << '\n';
    if (result == FileResult::Failed) {
        err << "tavikctl: " << path << ": " << fileFaultPlace(fault) << fault.what << " (logged in "
            << errorLogPath() << ")\n";
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
                return usageError(QStringLiteral("new: -o needs a FILE"));
            if (!path.isEmpty())
                return usageError(QStringLiteral("new: -o given twice"));
            path = args.at(++i);
        } else if (arg.startsWith(u'-')) {
            return usageError(QStringLiteral("new: unknown option '%1'").arg(arg));
        } else {
            return usageError(QStringLiteral("new: unexpected argument '%1'").arg(arg));
        }
    }
    if (path.isEmpty())
        return usageError(QStringLiteral("new needs -o FILE"));

    RelayTable table{};
    for (RelayConfig &relay : table)
        ClearRelay(relay);
    if (saveConfigFile(table, path) != FileResult::Ok) {
        QTextStream(stderr) << "tavikctl: " << path
                            << ": could not be written; the file there is unchanged (logged in "
                            << errorLogPath() << ")\n";
        return ExitFileFailed;
    }
    return ExitOk;
}

} // namespace

QList<Command> fileCommands()
{
    return {
        {QStringLiteral("show"), QStringLiteral("show FILE"),
         QStringLiteral(
             "print a configuration file's date and relays (exit 1-7: format fault, 8: unreadable)"),
         atOnce(showFile)},
        {QStringLiteral("new"), QStringLiteral("new -o FILE"),
         QStringLiteral("write 16 cleared relays to FILE (exit 8: not written)"), atOnce(newFile)},
    };
}
