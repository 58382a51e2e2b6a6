#include "filecommands.h"

#include "base/inputfile.h"
#include "clitext.h"
#include "config/relayjson.h"
#include "configurationfile.h"
#include "relaytext.h"

#include <QJsonArray>
#include <QJsonDocument>

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
    bool json = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(u'-') && arg.size() > 1)
            return usageError(CliText::tr("show: unknown option '%1'").arg(visibleText(arg, 40)));
        else
            files << arg;
    }
    if (files.size() != 1)
        return usageError(CliText::tr("show takes exactly one FILE"));
    const QString &path = files.first();

    RelayTable table{};
    FileFault fault;
    const FileResult result = loadConfiguration(table, path, fault);
    if (result != FileResult::Ok) {
        // A fault in the format keeps the words the window shows for it.
        const QString format =
            result == FileResult::Failed ? QString() : CliText::tr("Incorrect file format") + QStringLiteral(": ");
        QTextStream(stderr) << "tavikctl: " << path << ": " << format << fileFaultPlace(fault) << fault.what << '\n';
        return ExitBadFile;
    }
    QTextStream out(stdout);
    if (json) {
        QJsonArray relays;
        for (int index = 0; index < RelayCount; ++index)
            relays.append(RelayJson::relayObject(table[size_t(index)], index + 1));
        out << QJsonDocument(QJsonObject{{QStringLiteral("command"), QStringLiteral("show")},
                                         {QStringLiteral("exitCode"), ExitOk},
                                         {QStringLiteral("file"), path},
                                         {QStringLiteral("relays"), relays}})
                   .toJson();
        return ExitOk;
    }
    for (int index = 0; index < RelayCount; ++index)
        out << relayLine(table[size_t(index)], index + 1) << '\n';
    for (const QString &note : outOfRangeNotes(table))
        out << note << '\n';
    return ExitOk;
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
    if (QString problem; !saveConfiguration(table, path, problem)) {
        QTextStream(stderr) << "tavikctl: " << problem << '\n';
        return ExitNotWritten;
    }
    return ExitOk;
}

} // namespace

QList<Command> fileCommands()
{
    return {{QStringLiteral("show"), atOnce(showFile)}, {QStringLiteral("new"), atOnce(newFile)}};
}
