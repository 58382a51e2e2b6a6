#include "commandreport.h"

#include "command.h"
#include "config/tavikfile.h"
#include "deviceargs.h"
#include "filecommands.h"

#include <QJsonDocument>
#include <QTextStream>

CommandReport::CommandReport(const QString &command, bool json) : m_json(json)
{
    m_body.insert(QStringLiteral("command"), command);
}

int CommandReport::finish(int exitCode)
{
    if (m_json) {
        m_body.insert(QStringLiteral("exitCode"), exitCode);
        QTextStream(stdout) << QJsonDocument(m_body).toJson(QJsonDocument::Indented);
    }
    return exitCode;
}

int CommandReport::dialogueFailed(const QString &what, int relay, DialogueResult result,
                                  const QString &statusText)
{
    // The status text has gone to stderr as the dialogue set it.
    QTextStream(stderr) << "tavikctl: " << what << " relay " << relay << " failed with result "
                        << qint16(result) << " (" << resultMeaning(result) << ")\n";
    m_body.insert(QStringLiteral("failure"), QJsonObject{
                                                 {QStringLiteral("relay"), relay},
                                                 {QStringLiteral("result"), qint16(result)},
                                                 {QStringLiteral("meaning"), resultMeaning(result)},
                                                 {QStringLiteral("text"), statusText},
                                             });
    return finish(ExitFailed);
}

int CommandReport::fileRefused(const QString &path, const FileFault &fault)
{
    const QString text = fileFaultPlace(fault) + fault.what;
    QTextStream(stderr) << "tavikctl: " << path << ": " << text << '\n';
    m_body.insert(QStringLiteral("failure"),
                  QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("text"), text}});
    return finish(ExitBadFile);
}

namespace
{

QJsonArray inputsJson(const std::array<bool, InputCount> &map)
{
    QJsonArray inputs;
    for (int input = 0; input < InputCount; ++input) {
        if (map[size_t(input)])
            inputs.append(input + 1);
    }
    return inputs;
}

} // namespace

QJsonObject relayJson(const RelayConfig &relay, int number)
{
    QJsonObject object{
        {QStringLiteral("relay"), number},
        {QStringLiteral("relayMode"), RelayText::relayMode(relay.RelayMode)},
        {QStringLiteral("inputMode"), RelayText::inputMode(relay.InputMode)},
        {QStringLiteral("inputs"), inputsJson(relay.InputMap)},
        {QStringLiteral("closureTime"), RelayText::closureTime(relay)},
        {QStringLiteral("contact"), RelayText::contact(relay.Closed)},
        {QStringLiteral("pcControl"), relay.PCControl},
    };
    if (isLatchingMode(relay.RelayMode)) {
        object.insert(QStringLiteral("unlatchInputMode"), RelayText::inputMode(relay.UnlatchInputMode));
        object.insert(QStringLiteral("unlatchInputs"), inputsJson(relay.UnlatchMap));
    }
    return object;
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
