#pragma once

#include "link/task.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Exit codes shared by every command.
enum ExitCode {
    ExitOk = 0,
    ExitFailed = 1, // a device dialogue failed (file commands: see their own help)
    ExitUsage = 2,
    ExitBadFile = 3,
    ExitDiffers = 4, // verify, diff, program --changed: the configurations differ
    ExitNotWritten = 8, // an output file was not written; the file there is unchanged
};

// One tavikctl command: its word and what runs it (its help is in
// commandhelp.cpp). run() gets the arguments without the command word
// (options may stand anywhere) and ends with the exit code; a command that
// talks to devices waits for them on the event loop.
struct Command {
    using Run = std::function<Task<int>(const QStringList &)>;

    QString name;
    Run run;
};

// A command that never waits: it has ended once started.
Task<int> runAtOnce(int (*run)(const QStringList &), QStringList args);
inline Command::Run atOnce(int (*run)(const QStringList &))
{
    return [run](const QStringList &args) { return runAtOnce(run, args); };
}

// Prints "tavikctl: <message>" and a pointer to --help on stderr; returns ExitUsage.
int usageError(const QString &message);
