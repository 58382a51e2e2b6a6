#pragma once

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
};

// One tavikctl command: its word, a line of help, and what runs it. run()
// gets the arguments without the command word (options may stand anywhere).
struct Command {
    QString name;
    QString synopsis;
    QString summary;
    std::function<int(const QStringList &)> run;
};

// Prints "tavikctl: <message>" and a pointer to --help on stderr; returns ExitUsage.
int usageError(const QString &message);
