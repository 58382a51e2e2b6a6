#pragma once

#include "config/relaycomparison.h"
#include "dialogues/dialoguesteps.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

struct FileFault;

// How a device or comparison command ends. Without --json the person's text
// goes out as the command writes it; with --json stdout gets one JSON object
// at the end: the command's own members, the failure (if any) and the exit
// code. Failures are said on stderr either way.
class CommandReport
{
public:
    CommandReport(const QString &command, bool json);

    bool json() const { return m_json; }
    // The command's own members.
    void set(const QString &key, const QJsonValue &value) { m_body.insert(key, value); }

    // Prints the JSON (with --json) and returns the exit code.
    int finish(int exitCode);
    // A dialogue failed on relay number (1 to 16): says so and finishes with ExitFailed.
    int dialogueFailed(const QString &what, int relay, DialogueResult result, const QString &statusText);
    // A configuration file did not load: says where and finishes with ExitBadFile.
    int fileRefused(const QString &path, const FileFault &fault);

private:
    QJsonObject m_body;
    bool m_json;
};

// A relay with its fields named, its values as a person reads them and its
// inputs as numbers 1 to 12; the unlatch side only for a Latching relay.
QJsonObject relayJson(const RelayConfig &relay, int number);
// Each difference's relay, field, both values under the names given, whether
// it counts, and the line a person reads.
QJsonArray differencesJson(const QList<RelayDifference> &differences, const QString &firstName,
                           const QString &secondName);
// The relay numbers as a JSON array.
QJsonArray numbersJson(const QList<int> &numbers);
