#include "commandreport.h"

#include "clitext.h"
#include "command.h"
#include "config/tavikfile.h"
#include "filecommands.h"
#include "signalcancel.h"
#include "terminalview.h"

#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace
{

// What a failed dialogue's result means, in a few words: English for the
// JSON, CliText::tr() of it for a person.
const char *resultMeaning(DialogueResult result)
{
    switch (result) {
    case DialogueResult::Done:
        break;
    case DialogueResult::PortFailed:
        return QT_TRANSLATE_NOOP("CliText", "the port could not be opened");
    case DialogueResult::SendFailed:
        return QT_TRANSLATE_NOOP("CliText", "a character could not be sent");
    case DialogueResult::TimedOut:
        return QT_TRANSLATE_NOOP("CliText", "Tavik did not answer in time");
    case DialogueResult::LineFlooded:
        return QT_TRANSLATE_NOOP("CliText", "the line is flooded");
    case DialogueResult::WaitFailed:
        return QT_TRANSLATE_NOOP("CliText", "waiting for Tavik failed");
    case DialogueResult::AnswerNotSent:
        return QT_TRANSLATE_NOOP("CliText", "the relay number could not be sent");
    case DialogueResult::GaveUp:
        return QT_TRANSLATE_NOOP("CliText", "Tavik kept answering unexpectedly");
    case DialogueResult::Cancelled:
        return QT_TRANSLATE_NOOP("CliText", "cancelled");
    case DialogueResult::LineNeverQuiet:
        return QT_TRANSLATE_NOOP("CliText",
                                 "the line never fell quiet; the port may belong to another device");
    case DialogueResult::LineLost:
        return QT_TRANSLATE_NOOP("CliText", "the line went away");
    case DialogueResult::OutOfRange:
        return QT_TRANSLATE_NOOP("CliText", "a value is out of the range the device takes; nothing was sent");
    }
    return QT_TRANSLATE_NOOP("CliText", "unknown failure");
}

} // namespace

CommandReport::CommandReport(const QString &command, bool json) : m_json(json)
{
    m_body.insert(QStringLiteral("command"), command);
}

int CommandReport::finish(int exitCode)
{
    m_exitCode = exitCode;
    if (m_json) {
        m_body.insert(QStringLiteral("exitCode"), exitCode);
        if (!m_terminal)
            QTextStream(stdout) << QJsonDocument(m_body).toJson(QJsonDocument::Indented);
    }
    return exitCode;
}

void CommandReport::sayError(const QString &text) const
{
    if (m_terminal)
        m_terminal->err(text);
    else
        QTextStream(stderr) << text;
}

int CommandReport::dialogueFailed(const QString &what, int relay, DialogueResult result,
                                  const QString &statusText)
{
    if (result == DialogueResult::Cancelled) {
        sayError(CliText::tr("tavikctl: %1 relay %2 cancelled by %3\n")
                     .arg(what)
                     .arg(relay)
                     .arg(SignalCancel::signalName()));
        m_body.insert(QStringLiteral("cancelled"), true);
        return finish(SignalCancel::exitCode());
    }
    // The status text has gone to stderr as the dialogue set it.
    sayError(CliText::tr("tavikctl: %1 relay %2 failed with result %3 (%4)\n")
                 .arg(what)
                 .arg(relay)
                 .arg(qint16(result))
                 .arg(CliText::tr(resultMeaning(result))));
    m_body.insert(QStringLiteral("failure"),
                  QJsonObject{
                      {QStringLiteral("relay"), relay},
                      {QStringLiteral("result"), qint16(result)},
                      {QStringLiteral("meaning"), QString::fromLatin1(resultMeaning(result))},
                      {QStringLiteral("text"), statusText},
                  });
    // The file is what is wrong, not the device.
    return finish(result == DialogueResult::OutOfRange ? ExitBadFile : ExitFailed);
}

int CommandReport::fileRefused(const QString &path, const FileFault &fault)
{
    const QString text = fileFaultPlace(fault) + fault.what;
    sayError(CliText::tr("tavikctl: %1: %2\n").arg(path, text));
    m_body.insert(QStringLiteral("failure"),
                  QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("text"), text}});
    return finish(ExitBadFile);
}

int finishPorts(const QString &command, bool json, const QList<const CommandReport *> &reports,
                const QStringList &ports)
{
    QList<int> exitCodes;
    QJsonArray entries;
    bool cancelled = false;
    for (qsizetype i = 0; i < reports.size(); ++i) {
        exitCodes << reports.at(i)->exitCode();
        QJsonObject entry = reports.at(i)->body();
        entry.remove(QStringLiteral("command"));
        entry.insert(QStringLiteral("port"), ports.at(i));
        cancelled = cancelled || entry.contains(QStringLiteral("cancelled"));
        entries.append(entry);
    }
    // A signal that came once every port had ended cancelled nothing.
    int exitCode = ExitOk;
    if (cancelled)
        exitCode = SignalCancel::exitCode();
    else if (exitCodes.contains(ExitFailed))
        exitCode = ExitFailed;
    else if (const auto other = std::find_if(exitCodes.cbegin(), exitCodes.cend(),
                                             [](int code) { return code != ExitOk && code != ExitDiffers; });
             other != exitCodes.cend())
        exitCode = *other;
    else if (exitCodes.contains(ExitDiffers))
        exitCode = ExitDiffers;
    if (json) {
        QJsonObject document{{QStringLiteral("command"), command},
                             {QStringLiteral("exitCode"), exitCode},
                             {QStringLiteral("ports"), entries}};
        if (cancelled)
            document.insert(QStringLiteral("cancelled"), true);
        QTextStream(stdout) << QJsonDocument(document).toJson(QJsonDocument::Indented);
    }
    return exitCode;
}

QJsonArray differencesJson(const QList<RelayDifference> &differences, const QString &firstName,
                           const QString &secondName)
{
    QJsonArray array;
    for (const RelayDifference &difference : differences) {
        array.append(QJsonObject{
            {QStringLiteral("relay"), difference.relay},
            {QStringLiteral("field"), relayFieldName(difference.field)},
            {firstName, difference.first},
            {secondName, difference.second},
            {QStringLiteral("counts"), difference.counts()},
            {QStringLiteral("text"), difference.text(firstName, secondName)},
        });
    }
    return array;
}

QJsonArray numbersJson(const QList<int> &numbers)
{
    QJsonArray array;
    for (const int number : numbers)
        array.append(number);
    return array;
}

QList<int> firstRelays(int count)
{
    QList<int> numbers;
    for (int number = 1; number <= count; ++number)
        numbers << number;
    return numbers;
}
