#include "devicecommands.h"

#include "base/errorlog.h"
#include "clitext.h"
#include "commandreport.h"
#include "config/relayjson.h"
#include "comparecommands.h"
#include "configurationfile.h"
#include "deviceargs.h"
#include "deviceconnection.h"
#include "filecommands.h"
#include "relaytext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace
{

const QString Json = QStringLiteral("--json");

// With --json, an array of {entry, number, path}.
int listPorts(const QStringList &arguments)
{
    DeviceArgs args;
    const QString Long = QStringLiteral("--long");
    QString error = parseArgs(QStringLiteral("ports"), arguments, {}, args, {Json, Long});
    if (error.isEmpty())
        error = unexpectedWords(args, 0);
    if (!error.isEmpty())
        return usageError(error);
    DeviceConnection connection(args.command, false);
    if (const int exit = connectOne(connection, args, false); exit >= 0)
        return exit;
    QTextStream out(stdout);
    const PortDirectory &ports = connection.link().port().directory();
    const QList<int> numbers = connection.link().port().rescanPorts();
    if (args.has(Json)) {
        QJsonArray list;
        for (const int number : numbers) {
            const AdapterInfo adapter = ports.adapter(number);
            list.append(QJsonObject{{QStringLiteral("entry"), ports.entryText(number)},
                                    {QStringLiteral("number"), number},
                                    {QStringLiteral("path"), ports.location(number)},
                                    {QStringLiteral("description"), adapter.description},
                                    {QStringLiteral("manufacturer"), adapter.manufacturer},
                                    {QStringLiteral("serialNumber"), adapter.serialNumber},
                                    {QStringLiteral("vendorId"), adapter.vendorId},
                                    {QStringLiteral("productId"), adapter.productId},
                                    {QStringLiteral("byIdPath"), adapter.byIdPath}});
        }
        out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return ExitOk;
    }
    for (const int number : numbers) {
        out << ports.entryText(number) << '\n';
        if (!args.has(Long))
            continue;
        // One block a port: what tells adapters apart when there are several.
        for (const QString &line : ports.descriptionLines(number))
            out << "  " << line << '\n';
        if (number != numbers.constLast())
            out << '\n';
    }
    return ExitOk;
}

Task<int> readOnPort(DeviceConnection *connection, DeviceArgs args, QString output)
{
    CommandReport &report = connection->report();
    TerminalView &view = connection->view();
    const RelayTable &table = connection->table();
    if (args.relay > 0) {
        const DialogueResult result = co_await connection->commands().readRelay(args.relay - 1);
        if (result != DialogueResult::Done) {
            if (result == DialogueResult::Cancelled)
                report.set(QStringLiteral("done"), QJsonArray{});
            co_return report.dialogueFailed(CliText::tr("reading"), args.relay, result, view.statusText());
        }
        report.set(QStringLiteral("relays"),
                   QJsonArray{RelayJson::relayObject(table[size_t(args.relay - 1)], args.relay)});
        if (!report.json())
            view.out(relayDescription(table[size_t(args.relay - 1)], args.relay));
        connection->summarize(CliText::tr("Read relay %1 on %2 in %3 s").arg(args.relay));
        co_return report.finish(ExitOk);
    }

    const BulkOutcome outcome = co_await connection->commands().readAll(AllEnding::Quiet);
    if (!outcome.succeeded()) {
        if (outcome.cancelled())
            report.set(QStringLiteral("done"), numbersJson(firstRelays(outcome.relaysDone(RelayCount))));
        co_return report.dialogueFailed(CliText::tr("reading"), outcome.relayIndex + 1, outcome.result,
                                        view.statusText());
    }
    QJsonArray relays;
    for (int index = 0; index < RelayCount; ++index)
        relays.append(RelayJson::relayObject(table[size_t(index)], index + 1));
    report.set(QStringLiteral("relays"), relays);
    connection->summarize(CliText::tr("Read 16 relays on %1 in %2 s"));
    if (output.isEmpty()) {
        for (int index = 0; !report.json() && index < RelayCount; ++index)
            view.out(relayLine(table[size_t(index)], index + 1) + u'\n');
        co_return report.finish(ExitOk);
    }
    report.set(QStringLiteral("file"), output);
    if (QString problem; !saveConfiguration(table, output, problem)) {
        view.err(QStringLiteral("tavikctl: %1\n").arg(problem));
        co_return report.finish(ExitNotWritten);
    }
    co_return report.finish(ExitOk);
}

Task<int> readRelays(QStringList arguments)
{
    DeviceArgs args;
    QString error = parseArgs(QStringLiteral("read"), arguments,
                              {QStringLiteral("--relay"), QStringLiteral("-o")}, args, {Json});
    if (error.isEmpty())
        error = unexpectedWords(args, 0);
    const QString output = args.values.value(QStringLiteral("-o"));
    if (error.isEmpty() && args.relay > 0 && args.values.contains(QStringLiteral("-o")))
        error = CliText::tr("read: -o writes all 16 relays; leave out --relay");
    if (error.isEmpty())
        error = checkOutputPattern(args, output);
    if (!error.isEmpty())
        co_return usageError(error);
    DeviceConnections connections;
    if (const int exit = connectAll(connections, args, args.has(Json)); exit >= 0)
        co_return exit;
    // Named, as below: GCC 12 destroys a closure (or an awaiter) made in a statement that awaits twice.
    Task<int> onEveryPort = runOnEveryPort(
        std::move(connections), args.command, args.has(Json), [args, output](DeviceConnection *connection) {
            return readOnPort(connection, args,
                              output.isEmpty() ? output : outputFileFor(output, connection->name()));
        });
    co_return co_await onEveryPort;
}

// Plain: all 16 or --relay N.
Task<int> programOnPort(DeviceConnection *connection, int relay)
{
    CommandReport &report = connection->report();
    TerminalView &view = connection->view();
    QList<int> programmed;
    if (relay > 0) {
        const DialogueResult result = co_await connection->commands().programRelay(relay - 1);
        if (result != DialogueResult::Done) {
            if (result == DialogueResult::Cancelled)
                report.set(QStringLiteral("programmed"), QJsonArray{});
            co_return report.dialogueFailed(CliText::tr("programming"), relay, result, view.statusText());
        }
        report.set(QStringLiteral("programmed"), QJsonArray{relay});
        connection->summarize(CliText::tr("Programmed relay %1 on %2 in %3 s").arg(relay));
        co_return report.finish(ExitOk);
    }
    const BulkOutcome outcome = co_await connection->commands().programAll(AllEnding::Quiet);
    report.set(QStringLiteral("programmed"), numbersJson(firstRelays(outcome.relaysDone(RelayCount))));
    if (!outcome.succeeded())
        co_return report.dialogueFailed(CliText::tr("programming"), outcome.relayIndex + 1, outcome.result,
                                        view.statusText());
    connection->summarize(CliText::tr("Programmed 16 relays on %1 in %2 s"));
    co_return report.finish(ExitOk);
}

// --changed: only the relays the device holds otherwise, each read back and checked.
Task<int> programRelays(QStringList arguments)
{
    DeviceArgs args;
    if (const QString error =
            parseFileArgs(QStringLiteral("program"), arguments, {Json, QStringLiteral("--changed")}, args);
        !error.isEmpty())
        co_return usageError(error);
    const QString file = input(args);
    DeviceConnections connections;
    if (const int exit = connectAll(connections, args, args.has(Json)); exit >= 0)
        co_return exit;
    CommandReport report(QStringLiteral("program"), args.has(Json));
    report.set(QStringLiteral("file"), file);

    RelayTable table{};
    FileFault fault;
    if (loadConfiguration(table, file, fault) != FileResult::Ok)
        co_return report.fileRefused(file, fault);
    for (const auto &connection : connections) {
        connection->table() = table;
        connection->report().set(QStringLiteral("file"), file);
    }
    const int relay = args.relay;
    std::function<Task<int>(DeviceConnection *)> work = [relay](DeviceConnection *connection) {
        return programOnPort(connection, relay);
    };
    if (args.has(QStringLiteral("--changed")))
        work = [relay, file](DeviceConnection *connection) {
            return programChangedRelays(connection, relay, file);
        };
    Task<int> onEveryPort = runOnEveryPort(std::move(connections), args.command, args.has(Json), work);
    co_return co_await onEveryPort;
}

enum class Live { PCControlOn, PCControlOff, Latch, Moment };

// Reads the relay to learn its PCControl, then does what the PC-Control box
// or the latch and momentary buttons do.
Task<int> liveOnPort(DeviceConnection *connection, QString command, Live live, int relay)
{
    CommandReport &report = connection->report();
    TerminalView &view = connection->view();
    const int index = relay - 1;
    const DialogueResult read = co_await connection->commands().readRelay(index);
    if (read != DialogueResult::Done)
        co_return report.dialogueFailed(CliText::tr("reading"), relay, read, view.statusText());

    DeviceDialogues &dialogues = connection->dialogues();
    Task<LiveOutcome> dialogue = live == Live::Latch ? dialogues.latchInput(index)
                                 : live == Live::Moment
                                     ? dialogues.pulseInput(index)
                                     : dialogues.setPCControl(index, live == Live::PCControlOn);
    const LiveOutcome outcome = co_await dialogue;

    const bool underPCControl = connection->table()[size_t(index)].PCControl;
    switch (outcome) {
    case LiveOutcome::Succeeded:
        if (live == Live::Latch)
            view.out(CliText::tr("Relay %1: input latched\n").arg(relay));
        else if (live == Live::Moment)
            view.out(CliText::tr("Relay %1: input pulsed\n").arg(relay));
        else
            view.out((underPCControl ? CliText::tr("Relay %1: PC control on\n")
                                     : CliText::tr("Relay %1: PC control off\n"))
                         .arg(relay));
        co_return report.finish(ExitOk);
    case LiveOutcome::NotSent:
        if (live == Live::PCControlOn || live == Live::PCControlOff) {
            view.out((underPCControl ? CliText::tr("Relay %1: PC control already on\n")
                                     : CliText::tr("Relay %1: PC control already off\n"))
                         .arg(relay));
            co_return report.finish(ExitOk);
        }
        view.err(CliText::tr("tavikctl: relay %1 is not under PC control; nothing was sent (try 'tavikctl "
                             "pc-control on --relay %1')\n")
                     .arg(relay));
        co_return report.finish(ExitFailed);
    case LiveOutcome::Cancelled:
        co_return report.dialogueFailed(command, relay, DialogueResult::Cancelled, view.statusText());
    case LiveOutcome::PortFailed:
    case LiveOutcome::Failed:
        break;
    }
    view.err(CliText::tr("tavikctl: %1 for relay %2 failed\n").arg(command).arg(relay));
    co_return report.finish(ExitFailed);
}

Task<int> liveCommand(QString command, QStringList arguments)
{
    DeviceArgs args;
    QString error = parseArgs(command, arguments, {QStringLiteral("--relay")}, args);
    Live live = command == QStringLiteral("latch") ? Live::Latch : Live::Moment;
    if (error.isEmpty() && command == QStringLiteral("pc-control")) {
        const QString state = args.words.value(0);
        if (state == QStringLiteral("on"))
            live = Live::PCControlOn;
        else if (state == QStringLiteral("off"))
            live = Live::PCControlOff;
        else
            error = CliText::tr("pc-control takes 'on' or 'off'");
    }
    if (error.isEmpty())
        error = unexpectedWords(args, command == QStringLiteral("pc-control") ? 1 : 0);
    if (error.isEmpty() && args.relay == 0)
        error = CliText::tr("%1 needs --relay N").arg(command);
    if (!error.isEmpty())
        co_return usageError(error);
    DeviceConnections connections;
    if (const int exit = connectAll(connections, args, false); exit >= 0)
        co_return exit;
    const int relay = args.relay;
    Task<int> onEveryPort = runOnEveryPort(std::move(connections), command, false,
                                           [command, live, relay](DeviceConnection *connection) {
                                               return liveOnPort(connection, command, live, relay);
                                           });
    co_return co_await onEveryPort;
}

} // namespace

QList<Command> deviceCommands()
{
    const auto live = [](const QString &command) {
        return [command](const QStringList &args) { return liveCommand(command, args); };
    };
    return {
        {QStringLiteral("ports"), atOnce(listPorts)},
        {QStringLiteral("read"), readRelays},
        {QStringLiteral("program"), programRelays},
        {QStringLiteral("pc-control"), live(QStringLiteral("pc-control"))},
        {QStringLiteral("latch"), live(QStringLiteral("latch"))},
        {QStringLiteral("moment"), live(QStringLiteral("moment"))},
    };
}
