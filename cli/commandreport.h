#pragma once

#include "config/relaycomparison.h"
#include "dialogues/dialoguesteps.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

struct FileFault;
class TerminalView;

// How a device or comparison command ends. Without --json the person's text
// goes out as the command writes it; with --json stdout gets one JSON object
// at the end: the command's own members, the failure (if any) and the exit
// code. Failures are said on stderr either way.
//
// A command on several ports keeps one report for each: its lines go out
// through the port's terminal, tagged, and its JSON becomes the port's entry
// in the one document that finishPorts() prints.
class CommandReport
{
public:
    CommandReport(const QString &command, bool json);

    // One port of several: lines through the terminal, no JSON of its own.
    void setPortTerminal(const TerminalView *terminal) { m_terminal = terminal; }

    bool json() const { return m_json; }
    // The command's own members.
    void set(const QString &key, const QJsonValue &value) { m_body.insert(key, value); }
    QJsonObject body() const { return m_body; }
    // What finish() was given; -1 before.
    int exitCode() const { return m_exitCode; }

    // Prints the JSON (with --json) and returns the exit code.
    int finish(int exitCode);
    // A dialogue failed on relay number (1 to 16): says so and finishes with
    // ExitFailed, or ExitBadFile for a value the device does not take; a
    // cancelled one says "cancelled": true and finishes with the signal's
    // exit code.
    int dialogueFailed(const QString &what, int relay, DialogueResult result, const QString &statusText);
    // A configuration file did not load: says where and finishes with ExitBadFile.
    int fileRefused(const QString &path, const FileFault &fault);

private:
    void sayError(const QString &text) const;

    QJsonObject m_body;
    bool m_json;
    const TerminalView *m_terminal = nullptr;
    int m_exitCode = -1;
};

// Ends a command that ran on several ports: with --json one document with an
// entry for each port, and the exit code of them all: the signal's when any
// was cancelled, else 1 when a device failed, else any other failure, else 4
// when any differs.
int finishPorts(const QString &command, bool json, const QList<const CommandReport *> &reports,
                const QStringList &ports);

// Each difference's relay, field, both values under the names given, whether
// it counts, and the line a person reads.
QJsonArray differencesJson(const QList<RelayDifference> &differences, const QString &firstName,
                           const QString &secondName);
// The relay numbers as a JSON array.
QJsonArray numbersJson(const QList<int> &numbers);
// Relays 1 to count: those a whole-table command got through.
QList<int> firstRelays(int count);
