#pragma once

#include "command.h"

#include <QHash>
#include <QSet>

// A device command's words after its name: the options it was given (with
// their values) and the plain words left over.
struct DeviceArgs {
    QString command;
    QStringList ports; // --port, repeatable, and the lines of --ports-from
    bool simulate = false;
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList words;
    int relay = 0; // 1 to 16; 0 when --relay was not given

    bool has(const QString &flag) const { return flags.contains(flag); }
};

// Reads --port, --ports-from and --simulate, which every device command
// takes, the value options and the flags this command takes. Returns an
// error message, or empty.
QString parseArgs(const QString &command, const QStringList &args, const QStringList &valueOptions,
                  DeviceArgs &parsed, const QStringList &flagOptions = {});

// For the commands that take -i FILE (required) and --relay N, no plain
// words, and the flags given: parseArgs and the checks. The file is input().
QString parseFileArgs(const QString &command, const QStringList &args, const QStringList &flagOptions,
                      DeviceArgs &parsed);
inline QString input(const DeviceArgs &args)
{
    return args.values.value(QStringLiteral("-i"));
}

// The message for a plain word beyond the first allowed ones, or empty.
QString unexpectedWords(const DeviceArgs &args, qsizetype allowed);

// The file a port's output goes to: -o's FILE with {port} replaced by the
// port's name made safe for a file name.
QString outputFileFor(const QString &pattern, const QString &port);
// Refuses -o FILE for several ports unless {port} tells their files apart.
QString checkOutputPattern(const DeviceArgs &args, const QString &pattern);
