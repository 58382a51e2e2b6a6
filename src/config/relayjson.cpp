#include "config/relayjson.h"

#include "config/relaycomparison.h"
#include "config/relayvalues.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace
{

using InputMap = std::array<bool, InputCount>;

QString tr(const char *text)
{
    return QCoreApplication::translate("RelayJson", text);
}

QJsonArray inputsArray(const InputMap &map)
{
    QJsonArray inputs;
    for (int input = 0; input < InputCount; ++input) {
        if (map[size_t(input)])
            inputs.append(input + 1);
    }
    return inputs;
}

std::optional<InputMap> inputsOf(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    InputMap map{};
    for (const QJsonValue input : value.toArray()) {
        const int number = input.toInt(0);
        if (!input.isDouble() || input.toDouble() != number || number < 1 || number > InputCount)
            return std::nullopt;
        map[size_t(number - 1)] = true;
    }
    return map;
}

// Reads one relay object over a new relay's values; the key at fault, or an
// empty text.
QString readRelay(const QJsonObject &object, RelayConfig &relay)
{
    const auto name = [&object](const char *key, auto parse, auto &value) {
        const QJsonValue given = object.value(QLatin1String(key));
        if (given.isUndefined())
            return true;
        const auto parsed = parse(given.toString());
        if (!given.isString() || !parsed)
            return false;
        value = *parsed;
        return true;
    };
    const auto map = [&object](const char *key, InputMap &value) {
        const QJsonValue given = object.value(QLatin1String(key));
        const std::optional<InputMap> parsed = inputsOf(given);
        if (parsed)
            value = *parsed;
        return given.isUndefined() || parsed.has_value();
    };
    for (auto it = object.begin(); it != object.end(); ++it) {
        static const QStringList known = {"relay",   "relayMode", "inputMode", "inputs",           "closureTime",
                                          "contact", "pcControl", "unlatchInputMode", "unlatchInputs"};
        if (!known.contains(it.key()))
            return it.key();
    }
    if (!name("relayMode", RelayValues::relayMode, relay.RelayMode))
        return QStringLiteral("relayMode");
    if (!name("inputMode", RelayValues::inputMode, relay.InputMode))
        return QStringLiteral("inputMode");
    if (!name("unlatchInputMode", RelayValues::inputMode, relay.UnlatchInputMode))
        return QStringLiteral("unlatchInputMode");
    if (!map("inputs", relay.InputMap))
        return QStringLiteral("inputs");
    if (!map("unlatchInputs", relay.UnlatchMap))
        return QStringLiteral("unlatchInputs");
    const QJsonValue time = object.value(QLatin1String("closureTime"));
    if (!time.isUndefined() && !RelayValues::setClosureTime(time.toString(), relay))
        return QStringLiteral("closureTime");
    const QJsonValue contact = object.value(QLatin1String("contact"));
    if (contact == QLatin1String("Closed") || contact == QLatin1String("Open"))
        relay.Closed = contact == QLatin1String("Closed");
    else if (!contact.isUndefined())
        return QStringLiteral("contact");
    const QJsonValue pcControl = object.value(QLatin1String("pcControl"));
    if (pcControl.isBool())
        relay.PCControl = pcControl.toBool();
    else if (!pcControl.isUndefined())
        return QStringLiteral("pcControl");
    return {};
}

} // namespace

namespace RelayJson
{

QJsonObject relayObject(const RelayConfig &relay, int number)
{
    QJsonObject object{
        {QStringLiteral("relay"), number},
        {QStringLiteral("relayMode"), RelayText::relayMode(relay.RelayMode)},
        {QStringLiteral("inputMode"), RelayText::inputMode(relay.InputMode)},
        {QStringLiteral("inputs"), inputsArray(relay.InputMap)},
        {QStringLiteral("closureTime"), RelayText::closureTime(relay)},
        {QStringLiteral("contact"), RelayText::contact(relay.Closed)},
        {QStringLiteral("pcControl"), relay.PCControl},
    };
    if (isLatchingMode(relay.RelayMode)) {
        object.insert(QStringLiteral("unlatchInputMode"), RelayText::inputMode(relay.UnlatchInputMode));
        object.insert(QStringLiteral("unlatchInputs"), inputsArray(relay.UnlatchMap));
    }
    return object;
}

QByteArray document(const RelayTable &table)
{
    QJsonArray relays;
    for (int index = 0; index < RelayCount; ++index)
        relays.append(relayObject(table[size_t(index)], index + 1));
    return QJsonDocument(QJsonObject{{QStringLiteral("relays"), relays}}).toJson(QJsonDocument::Indented);
}

std::optional<RelayTable> table(const QByteArray &document, QString *error)
{
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parsing;
    const QJsonDocument parsed = QJsonDocument::fromJson(document, &parsing);
    if (parsing.error != QJsonParseError::NoError)
        return refuse(tr("not JSON: %1 at character %2").arg(parsing.errorString()).arg(parsing.offset + 1));
    const QJsonArray relays = parsed.object().value(QLatin1String("relays")).toArray();
    if (relays.size() != RelayCount)
        return refuse(tr("\"relays\" must list the 16 relays"));
    RelayTable table{};
    std::array<bool, RelayCount> seen{};
    for (const QJsonValue value : relays) {
        const QJsonObject object = value.toObject();
        const int number = object.value(QLatin1String("relay")).toInt(0);
        if (number < 1 || number > RelayCount || seen[size_t(number - 1)])
            return refuse(tr("each relay object needs its own \"relay\" number from 1 to 16"));
        seen[size_t(number - 1)] = true;
        if (const QString key = readRelay(object, table[size_t(number - 1)]); !key.isEmpty())
            return refuse(tr("relay %1: \"%2\" is not a value a relay takes").arg(number).arg(key));
    }
    return table;
}

} // namespace RelayJson
