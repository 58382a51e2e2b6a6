#pragma once

#include "command.h"
#include "dialogues/dialoguesteps.h"

#include <QHash>
#include <QSet>

class DeviceSession;

// A device command's words after its name: the options it was given (with
// their values) and the plain words left over.
struct DeviceArgs {
    QString command;
    QString port;
    bool simulate = false;
    QHash<QString, QString> values;
    QSet<QString> flags;
    QStringList words;
    int relay = 0; // 1 to 16; 0 when --relay was not given

    bool has(const QString &flag) const { return flags.contains(flag); }
};

// Reads --port/--simulate, which every device command takes, the value
// options and the flags this command takes. Returns an error message, or empty.
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

// Connects the session as the options say. Returns an exit code, or -1 to go on.
int connectSession(DeviceSession &session, const DeviceArgs &args, bool portRequired);

// What a failed dialogue's result means, in a few words.
QString resultMeaning(DialogueResult result);
