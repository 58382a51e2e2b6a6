#include "deviceargs.h"

#include "base/inputfile.h"
#include "clitext.h"
#include "config/relayconfig.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

namespace
{

// A port's name is short; a line far longer is not one, and a list past
// these bounds is not a list of ports (a device or a file of zeros).
constexpr qsizetype MaxPortLineBytes = 4096;
constexpr qint64 MaxPortsFileBytes = 4 << 20;

// One port a line; blank lines and lines that begin with # are left out.
QString readPortsFile(const QString &command, const QString &path, QStringList &ports)
{
    QFile file;
    QString error;
    if (!openInputFile(file, path, error))
        return CliText::tr("%1: --ports-from: cannot read %2: %3").arg(command, path, error);
    const qsizetype before = ports.size();
    QByteArray bytes;
    qint64 total = 0;
    for (int lineNo = 1;; ++lineNo) {
        const LineRead read = readBoundedLine(file, MaxPortLineBytes, bytes);
        if (read == LineRead::End)
            break;
        if (read == LineRead::Failed)
            return CliText::tr("%1: --ports-from: cannot read %2: %3").arg(command, path, file.errorString());
        if (read == LineRead::TooLong)
            return CliText::tr("%1: --ports-from: line %2 of %3 is longer than %4 bytes: %5")
                .arg(command)
                .arg(lineNo)
                .arg(path)
                .arg(MaxPortLineBytes)
                .arg(visibleText(QString::fromUtf8(bytes), 40));
        if ((total += bytes.size() + 1) > MaxPortsFileBytes)
            return CliText::tr("%1: --ports-from: %2 is larger than %3 bytes")
                .arg(command, path)
                .arg(MaxPortsFileBytes);
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            ports << line;
    }
    if (ports.size() == before)
        return CliText::tr("%1: --ports-from: %2 names no port").arg(command, path);
    return {};
}

} // namespace

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
        } else if (arg == QStringLiteral("--port") || arg == QStringLiteral("--ports-from") ||
                   valueOptions.contains(arg)) {
            if (i + 1 >= args.size())
                return CliText::tr("%1: %2 needs a value").arg(command, arg);
            const QString value = args.at(++i);
            if (arg == QStringLiteral("--port")) {
                parsed.ports << value;
            } else if (arg == QStringLiteral("--ports-from")) {
                if (const QString error = readPortsFile(command, value, parsed.ports); !error.isEmpty())
                    return error;
            } else {
                if (parsed.values.contains(arg))
                    return CliText::tr("%1: %2 given twice").arg(command, arg);
                parsed.values.insert(arg, value);
            }
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return CliText::tr("%1: unknown option '%2'").arg(command, arg);
        } else {
            parsed.words << arg;
        }
    }
    if (parsed.simulate && !parsed.ports.isEmpty())
        return CliText::tr("%1: give --port or --simulate, not both").arg(command);
    for (qsizetype i = 1; i < parsed.ports.size(); ++i) {
        if (parsed.ports.indexOf(parsed.ports.at(i)) < i)
            return CliText::tr("%1: --port %2 given twice").arg(command, parsed.ports.at(i));
    }
    if (parsed.values.contains(QStringLiteral("--relay"))) {
        bool ok = false;
        parsed.relay = parsed.values.value(QStringLiteral("--relay")).toInt(&ok);
        if (!ok || parsed.relay < 1 || parsed.relay > RelayCount)
            return CliText::tr("%1: --relay takes a relay number from 1 to 16").arg(command);
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
        error = CliText::tr("%1 needs -i FILE").arg(command);
    return error;
}

QString unexpectedWords(const DeviceArgs &args, qsizetype allowed)
{
    if (args.words.size() <= allowed)
        return {};
    return CliText::tr("%1: unexpected argument '%2'").arg(args.command, args.words.at(allowed));
}

QString outputFileFor(const QString &pattern, const QString &port)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]+"));
    QString name = QString(port).replace(unsafe, QStringLiteral("_"));
    while (name.startsWith(u'_') || name.startsWith(u'.'))
        name.remove(0, 1);
    return QString(pattern).replace(QStringLiteral("{port}"), name);
}

QString checkOutputPattern(const DeviceArgs &args, const QString &pattern)
{
    if (args.ports.size() <= 1 || pattern.isEmpty())
        return {};
    if (!pattern.contains(QStringLiteral("{port}")))
        return CliText::tr("%1: -o with several ports needs {port} in FILE, such as -o 'site-{port}.csv'")
            .arg(args.command);
    QSet<QString> files;
    for (const QString &port : args.ports) {
        const QString file = outputFileFor(pattern, port);
        if (files.contains(file))
            return CliText::tr("%1: -o %2 names the same file for two ports").arg(args.command, pattern);
        files.insert(file);
    }
    return {};
}
