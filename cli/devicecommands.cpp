#include "devicecommands.h"

#include "config/tavikfile.h"
#include "devicesession.h"
#include "filecommands.h"
#include "relaytext.h"
#include "base/errorlog.h"
#include "link/portnumber.h"

#include <QHash>
#include <QTextStream>

namespace
{

// A device command's words after its name: the options it was given (with
// their values) and the plain words left over.
struct DeviceArgs {
    QString command;
    QString port;
    bool simulate = false;
    QHash<QString, QString> values;
    QStringList words;
    int relay = 0; // 1 to 16; 0 when --relay was not given
};

// Reads --port/--simulate, which every device command takes, and the value
// options this command takes. Returns an error message, or empty.
QString parseArgs(const QString &command, const QStringList &args, const QStringList &valueOptions,
                  DeviceArgs &parsed)
{
    parsed.command = command;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("--simulate")) {
            parsed.simulate = true;
        } else if (arg == QStringLiteral("--port") || valueOptions.contains(arg)) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1: %2 needs a value").arg(command, arg);
            const QString value = args.at(++i);
            if (arg == QStringLiteral("--port")) {
                if (!parsed.port.isEmpty())
                    return QStringLiteral("%1: --port given twice").arg(command);
                parsed.port = value;
            } else {
                if (parsed.values.contains(arg))
                    return QStringLiteral("%1: %2 given twice").arg(command, arg);
                parsed.values.insert(arg, value);
            }
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return QStringLiteral("%1: unknown option '%2'").arg(command, arg);
        } else {
            parsed.words << arg;
        }
    }
    if (parsed.simulate && !parsed.port.isEmpty())
        return QStringLiteral("%1: give --port or --simulate, not both").arg(command);
    if (parsed.values.contains(QStringLiteral("--relay"))) {
        bool ok = false;
        parsed.relay = parsed.values.value(QStringLiteral("--relay")).toInt(&ok);
        if (!ok || parsed.relay < 1 || parsed.relay > RelayCount)
            return QStringLiteral("%1: --relay takes a relay number from 1 to 16").arg(command);
    }
    return {};
}

QString unexpectedWords(const DeviceArgs &args, qsizetype allowed)
{
    if (args.words.size() <= allowed)
        return {};
    return QStringLiteral("%1: unexpected argument '%2'").arg(args.command, args.words.at(allowed));
}

// Connects the session as the options say. Returns an exit code, or -1 to go on.
int connectSession(DeviceSession &session, const DeviceArgs &args, bool portRequired)
{
    QString error;
    if (args.simulate) {
        if (!session.useSimulator(&error)) {
            QTextStream(stderr) << "tavikctl: the simulated device cannot start: " << error << '\n';
            return ExitFailed;
        }
    } else if (!args.port.isEmpty()) {
        if (!session.usePort(args.port, &error))
            return usageError(error);
    } else if (portRequired) {
        return usageError(QStringLiteral("%1 needs --port PORT or --simulate").arg(args.command));
    }
    return -1;
}

QString resultMeaning(DialogueResult result)
{
    switch (result) {
    case DialogueResult::Done:
        break;
    case DialogueResult::PortFailed:
        return QStringLiteral("the port could not be opened");
    case DialogueResult::SendFailed:
        return QStringLiteral("a character could not be sent");
    case DialogueResult::TimedOut:
        return QStringLiteral("Tavik did not answer in time");
    case DialogueResult::LineFlooded:
        return QStringLiteral("the line is flooded");
    case DialogueResult::WaitFailed:
        return QStringLiteral("waiting for Tavik failed");
    case DialogueResult::AnswerNotSent:
        return QStringLiteral("the relay number could not be sent");
    case DialogueResult::GaveUp:
        return QStringLiteral("Tavik kept answering unexpectedly");
    }
    return QStringLiteral("unknown failure");
}

// The status text has gone to stderr as the dialogue set it.
int dialogueFailed(const QString &what, DialogueResult result)
{
    QTextStream(stderr) << "tavikctl: " << what << " failed with result " << qint16(result) << " ("
                        << resultMeaning(result) << ")\n";
    return ExitFailed;
}

int listPorts(const QStringList &arguments)
{
    DeviceArgs args;
    QStringList rest = arguments;
    const bool longForm = rest.removeAll(QStringLiteral("--long")) > 0;
    QString error = parseArgs(QStringLiteral("ports"), rest, {}, args);
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
    for (const QString &entry : entries) {
        out << entry << '\n';
        if (!longForm)
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
                              {QStringLiteral("--relay"), QStringLiteral("-o")}, args);
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

    QTextStream out(stdout);
    if (args.relay > 0) {
        const DialogueResult result = session.commands().readRelay(args.relay - 1);
        if (result != DialogueResult::Done)
            return dialogueFailed(QStringLiteral("reading relay %1").arg(args.relay), result);
        out << relayDescription(session.table()[size_t(args.relay - 1)], args.relay);
        return ExitOk;
    }

    const BulkOutcome outcome = session.commands().readAll(AllEnding::Quiet);
    if (!outcome.succeeded())
        return dialogueFailed(QStringLiteral("reading relay %1").arg(outcome.relayIndex + 1), outcome.result);
    if (output.isEmpty()) {
        for (int index = 0; index < RelayCount; ++index)
            out << relayLine(session.table()[size_t(index)], index + 1) << '\n';
        return ExitOk;
    }
    if (SaveTavikFile(session.table(), output) != TavikFileOk) {
        QTextStream(stderr) << "tavikctl: " << output
                            << ": could not be written; the file there is unchanged (logged in "
                            << errorLogPath() << ")\n";
        return ExitFileFailed;
    }
    return ExitOk;
}

int programRelays(const QStringList &arguments)
{
    DeviceArgs args;
    QString error = parseArgs(QStringLiteral("program"), arguments,
                              {QStringLiteral("-i"), QStringLiteral("--relay")}, args);
    if (error.isEmpty())
        error = unexpectedWords(args, 0);
    const QString input = args.values.value(QStringLiteral("-i"));
    if (error.isEmpty() && input.isEmpty())
        error = QStringLiteral("program needs -i FILE");
    if (!error.isEmpty())
        return usageError(error);
    DeviceSession session;
    if (const int exit = connectSession(session, args, true); exit >= 0)
        return exit;

    QString status;
    FileFault fault;
    if (OpenTavikFile(session.table(), input, status, &fault) != TavikFileOk) {
        QTextStream(stderr) << "tavikctl: " << input << ": " << fileFaultPlace(fault) << fault.what << '\n';
        return ExitBadFile;
    }

    if (args.relay > 0) {
        const DialogueResult result = session.commands().programRelay(args.relay - 1);
        if (result != DialogueResult::Done)
            return dialogueFailed(QStringLiteral("programming relay %1").arg(args.relay), result);
        return ExitOk;
    }
    const BulkOutcome outcome = session.commands().programAll(AllEnding::Quiet);
    if (!outcome.succeeded())
        return dialogueFailed(QStringLiteral("programming relay %1").arg(outcome.relayIndex + 1),
                              outcome.result);
    return ExitOk;
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
        return dialogueFailed(QStringLiteral("reading relay %1").arg(args.relay), read);

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
        {QStringLiteral("program"), QStringLiteral("program -i FILE [--relay N]") + on,
         QStringLiteral("program relays 1-16 or relay N from FILE (exit 1: device failed, 3: bad FILE)"),
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
