#include "devicecommands.h"

#include "commandreport.h"
#include "comparecommands.h"
#include "config/tavikfile.h"
#include "deviceargs.h"
#include "link/portnumber.h"
#include "devicesession.h"
#include "filecommands.h"
#include "relaytext.h"
#include "base/errorlog.h"
#include "link/portnumber.h"

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
    DeviceSession session;
    if (const int exit = connectSession(session, args, false); exit >= 0)
        return exit;
    QTextStream out(stdout);
    const PortDirectory &ports = session.link().port().directory();
    const QStringList entries = session.link().port().rescanPorts();
    if (args.has(Json)) {
        QJsonArray list;
        for (const QString &entry : entries) {
            const qint16 number = portNumberFromText(entry);
            const AdapterInfo adapter = ports.adapter(number);
            list.append(QJsonObject{{QStringLiteral("entry"), entry},
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
    for (const QString &entry : entries) {
        out << entry << '\n';
        if (!args.has(Long))
            continue;
        // One block a port: what tells adapters apart when there are several.
        for (const QString &line : ports.descriptionLines(portNumberFromText(entry)))
            out << "  " << line << '\n';
        if (&entry != &entries.constLast())
            out << '\n';
    }
    return ExitOk;
}

int readRelays(const QStringList &arguments)
{
    DeviceArgs args;
    QString error = parseArgs(QStringLiteral("read"), arguments,
                              {QStringLiteral("--relay"), QStringLiteral("-o")}, args, {Json});
    if (error.isEmpty())
        error = unexpectedWords(args, 0);
    const QString output = args.values.value(QStringLiteral("-o"));
    if (error.isEmpty() && args.relay > 0 && args.values.contains(QStringLiteral("-o")))
        error = QStringLiteral("read: -o writes all 16 relays; leave out --relay");
    if (!error.isEmpty())
        return usageError(error);
    DeviceSession session;
    if (const int exit = connectSession(session, args, true); exit >= 0)
        return exit;
    CommandReport report(QStringLiteral("read"), args.has(Json));

    QTextStream out(stdout);
    const RelayTable &table = session.table();
    if (args.relay > 0) {
        const DialogueResult result = session.commands().readRelay(args.relay - 1);
        if (result != DialogueResult::Done)
            return report.dialogueFailed(QStringLiteral("reading"), args.relay, result, session.view().statusText());
        report.set(QStringLiteral("relays"), QJsonArray{relayJson(table[size_t(args.relay - 1)], args.relay)});
        if (!report.json())
            out << relayDescription(table[size_t(args.relay - 1)], args.relay);
        return report.finish(ExitOk);
    }

    const BulkOutcome outcome = session.commands().readAll(AllEnding::Quiet);
    if (!outcome.succeeded())
        return report.dialogueFailed(QStringLiteral("reading"), outcome.relayIndex + 1, outcome.result,
                                     session.view().statusText());
    QJsonArray relays;
    for (int index = 0; index < RelayCount; ++index)
        relays.append(relayJson(table[size_t(index)], index + 1));
    report.set(QStringLiteral("relays"), relays);
    if (output.isEmpty()) {
        for (int index = 0; !report.json() && index < RelayCount; ++index)
            out << relayLine(table[size_t(index)], index + 1) << '\n';
        return report.finish(ExitOk);
    }
    report.set(QStringLiteral("file"), output);
    if (saveConfigFile(table, output) != FileResult::Ok) {
        QTextStream(stderr) << "tavikctl: " << output
                            << ": could not be written; the file there is unchanged (logged in "
                            << errorLogPath() << ")\n";
        return report.finish(ExitFileFailed);
    }
    return report.finish(ExitOk);
}

// Plain: all 16 or --relay N. --changed: only the relays the device holds
// otherwise, each read back and checked.
int programRelays(const QStringList &arguments)
{
    DeviceArgs args;
    if (const QString error =
            parseFileArgs(QStringLiteral("program"), arguments, {Json, QStringLiteral("--changed")}, args);
        !error.isEmpty())
        return usageError(error);
    const QString file = input(args);
    DeviceSession session;
    if (const int exit = connectSession(session, args, true); exit >= 0)
        return exit;
    CommandReport report(QStringLiteral("program"), args.has(Json));
    report.set(QStringLiteral("file"), file);

    QString status;
    FileFault fault;
    if (openConfigFile(session.table(), file, status, &fault) != FileResult::Ok)
        return report.fileRefused(file, fault);
    if (args.has(QStringLiteral("--changed")))
        return programChangedRelays(session, args.relay, file, report);

    QList<int> programmed;
    const auto programmedJson = [&] { report.set(QStringLiteral("programmed"), numbersJson(programmed)); };
    if (args.relay > 0) {
        const DialogueResult result = session.commands().programRelay(args.relay - 1);
        if (result != DialogueResult::Done)
            return report.dialogueFailed(QStringLiteral("programming"), args.relay, result,
                                         session.view().statusText());
        programmed << args.relay;
        programmedJson();
        return report.finish(ExitOk);
    }
    const BulkOutcome outcome = session.commands().programAll(AllEnding::Quiet);
    const int done = outcome.succeeded() ? RelayCount : outcome.relayIndex;
    for (int number = 1; number <= done; ++number)
        programmed << number;
    programmedJson();
    if (!outcome.succeeded())
        return report.dialogueFailed(QStringLiteral("programming"), outcome.relayIndex + 1, outcome.result,
                                     session.view().statusText());
    return report.finish(ExitOk);
}

enum class Live { PCControlOn, PCControlOff, Latch, Moment };

// Reads the relay to learn its PCControl, shows it as the window would, then
// does what the PC-Control box or the latch and momentary buttons do.
int liveCommand(const QString &command, const QStringList &arguments)
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
            error = QStringLiteral("pc-control takes 'on' or 'off'");
    }
    if (error.isEmpty())
        error = unexpectedWords(args, command == QStringLiteral("pc-control") ? 1 : 0);
    if (error.isEmpty() && args.relay == 0)
        error = QStringLiteral("%1 needs --relay N").arg(command);
    if (!error.isEmpty())
        return usageError(error);
    DeviceSession session;
    if (const int exit = connectSession(session, args, true); exit >= 0)
        return exit;

    const int index = args.relay - 1;
    session.view().showRelay(index);
    const DialogueResult read = session.commands().readRelay(index);
    if (read != DialogueResult::Done)
        return CommandReport(command, false)
            .dialogueFailed(QStringLiteral("reading"), args.relay, read, session.view().statusText());

    DeviceDialogues &dialogues = session.dialogues();
    LiveOutcome outcome = LiveOutcome::Failed;
    switch (live) {
    case Live::PCControlOn:
    case Live::PCControlOff:
        outcome = dialogues.setPCControl(live == Live::PCControlOn);
        break;
    case Live::Latch:
        outcome = dialogues.latchInput();
        break;
    case Live::Moment:
        outcome = dialogues.pulseInput();
        break;
    }

    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool underPCControl = session.table()[size_t(index)].PCControl;
    switch (outcome) {
    case LiveOutcome::Succeeded:
        if (live == Live::Latch || live == Live::Moment)
            out << "Relay " << args.relay << ": input " << (live == Live::Latch ? "latched" : "pulsed") << '\n';
        else
            out << "Relay " << args.relay << ": PC control " << (underPCControl ? "on" : "off") << '\n';
        return ExitOk;
    case LiveOutcome::NotSent:
        if (live == Live::PCControlOn || live == Live::PCControlOff) {
            out << "Relay " << args.relay << ": PC control already " << (underPCControl ? "on" : "off") << '\n';
            return ExitOk;
        }
        err << "tavikctl: relay " << args.relay << " is not under PC control; nothing was sent (try 'tavikctl "
            << "pc-control on --relay " << args.relay << "')\n";
        return ExitFailed;
    case LiveOutcome::PortFailed:
    case LiveOutcome::Failed:
        break;
    }
    err << "tavikctl: " << command << " for relay " << args.relay << " failed\n";
    return ExitFailed;
}

} // namespace

QList<Command> deviceCommands()
{
    // Every command below but ports needs one of them; the help says so once.
    const QString on = QStringLiteral(" DEVICE");
    return {
        {QStringLiteral("ports"), QStringLiteral("ports [--long] [--port PORT | --simulate]"),
         QStringLiteral("list the serial ports (--long: with their adapters); DEVICE below is --port PORT "
                        "(a number, ComN, serial:SERIAL, a device path, or a serial server's tcp://HOST:PORT "
                        "or rfc2217://HOST:PORT) or --simulate (the built-in simulated device)"),
         listPorts},
        {QStringLiteral("read"), QStringLiteral("read [--relay N] [-o FILE]") + on,
         QStringLiteral("read relays 1-16 (print them, or save FILE) or relay N (exit 1: device failed)"),
         readRelays},
        {QStringLiteral("program"), QStringLiteral("program -i FILE [--relay N] [--changed]") + on,
         QStringLiteral("program relays 1-16 or relay N from FILE; --changed: only those the device holds "
                        "otherwise, then checked (exit 1: device failed, 3: bad FILE, 4: still differs)"),
         programRelays},
        {QStringLiteral("pc-control"), QStringLiteral("pc-control on|off --relay N") + on,
         QStringLiteral("put relay N under PC control or release it"),
         [](const QStringList &args) { return liveCommand(QStringLiteral("pc-control"), args); }},
        {QStringLiteral("latch"), QStringLiteral("latch --relay N") + on,
         QStringLiteral("latch the input of relay N (under PC control)"),
         [](const QStringList &args) { return liveCommand(QStringLiteral("latch"), args); }},
        {QStringLiteral("moment"), QStringLiteral("moment --relay N") + on,
         QStringLiteral("pulse the input of relay N (under PC control)"),
         [](const QStringList &args) { return liveCommand(QStringLiteral("moment"), args); }},
    };
}
