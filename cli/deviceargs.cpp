#include "deviceargs.h"

#include "config/relayconfig.h"
#include "devicesession.h"

#include <QTextStream>

QString parseArgs(const QString &command, const QStringList &args, const QStringList &valueOptions,
                  DeviceArgs &parsed, const QStringList &flagOptions)
{
    parsed.command = command;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QStringLiteral("--simulate")) {
            parsed.simulate = true;
        } else if (flagOptions.contains(arg)) {
            parsed.flags.insert(arg);
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

QString parseFileArgs(const QString &command, const QStringList &args, const QStringList &flagOptions,
                      DeviceArgs &parsed)
{
    QString error =
        parseArgs(command, args, {QStringLiteral("-i"), QStringLiteral("--relay")}, parsed, flagOptions);
    if (error.isEmpty())
        error = unexpectedWords(parsed, 0);
    if (error.isEmpty() && input(parsed).isEmpty())
        error = QStringLiteral("%1 needs -i FILE").arg(command);
    return error;
}

QString unexpectedWords(const DeviceArgs &args, qsizetype allowed)
{
    if (args.words.size() <= allowed)
        return {};
    return QStringLiteral("%1: unexpected argument '%2'").arg(args.command, args.words.at(allowed));
}

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
