#include "setcommand.h"

#include "base/inputfile.h"
#include "clitext.h"
#include "config/relayvalues.h"
#include "configurationfile.h"
#include "filecommands.h"
#include "relaytext.h"

#include <QMap>
#include <QTextStream>

#include <functional>

namespace
{

// One option of set: what it accepts, for the message when a value is not
// among it, and how it changes the relay; false when the value is refused.
struct Change {
    QString accepted;
    std::function<bool(const QString &, RelayConfig &)> apply;
};

template <typename Parse, typename Field>
Change named(QString accepted, Parse parse, Field RelayConfig::*field)
{
    return {std::move(accepted), [parse, field](const QString &text, RelayConfig &relay) {
                const auto value = parse(text);
                if (value)
                    relay.*field = *value;
                return value.has_value();
            }};
}

const QMap<QString, Change> &changes()
{
    static const QString modes = relayModeList().join(QStringLiteral(", "));
    static const QString gates = inputModeList().join(QStringLiteral(", "));
    static const QString inputs = CliText::tr("input numbers 1 to 12 such as 1,3,12, or none");
    static const QMap<QString, Change> all = {
        {QStringLiteral("--mode"), named(modes, RelayValues::relayMode, &RelayConfig::RelayMode)},
        {QStringLiteral("--gate"), named(gates, RelayValues::inputMode, &RelayConfig::InputMode)},
        {QStringLiteral("--unlatch-gate"), named(gates, RelayValues::inputMode, &RelayConfig::UnlatchInputMode)},
        {QStringLiteral("--inputs"), named(inputs, RelayValues::inputs, &RelayConfig::InputMap)},
        {QStringLiteral("--unlatch-inputs"), named(inputs, RelayValues::inputs, &RelayConfig::UnlatchMap)},
        {QStringLiteral("--time"),
         {CliText::tr("H:MM:SS.hh up to 45:59:59.99, such as 0:00:02.50"), RelayValues::setClosureTime}},
        {QStringLiteral("--pc-control"),
         {QStringLiteral("on, off"),
          [](const QString &text, RelayConfig &relay) {
              if (text != QLatin1String("on") && text != QLatin1String("off"))
                  return false;
              relay.PCControl = text == QLatin1String("on");
              return true;
          }}},
    };
    return all;
}

int setRelay(const QStringList &args)
{
    QString path;
    int relay = 0;
    QMap<QString, QString> given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(u'-')) {
            if (!path.isEmpty())
                return usageError(CliText::tr("set takes one FILE; '%1' is a second").arg(visibleText(arg, 40)));
            path = arg;
            continue;
        }
        if (arg != QLatin1String("--relay") && !changes().contains(arg))
            return usageError(CliText::tr("set: unknown option '%1'").arg(visibleText(arg, 40)));
        if (i + 1 >= args.size())
            return usageError(CliText::tr("set: %1 needs a value").arg(arg));
        const QString value = args.at(++i);
        if (arg == QLatin1String("--relay")) {
            bool isNumber = false;
            relay = value.toInt(&isNumber);
            if (!isNumber || relay < 1 || relay > RelayCount)
                return usageError(CliText::tr("set: --relay takes 1 to 16, not '%1'").arg(visibleText(value, 40)));
        } else if (given.contains(arg)) {
            return usageError(CliText::tr("set: %1 given twice").arg(arg));
        } else {
            given.insert(arg, value);
        }
    }
    if (path.isEmpty() || relay == 0)
        return usageError(CliText::tr("set needs FILE and --relay N"));
    if (given.isEmpty())
        return usageError(CliText::tr("set: nothing to change; give --mode, --gate, --inputs, --unlatch-gate, "
                                      "--unlatch-inputs, --time or --pc-control"));

    RelayTable table{};
    FileFault fault;
    if (loadConfiguration(table, path, fault) != FileResult::Ok) {
        QTextStream(stderr) << "tavikctl: " << path << ": " << fileFaultPlace(fault) << fault.what << '\n';
        return ExitBadFile;
    }
    RelayConfig changed = table[size_t(relay - 1)];
    for (auto it = given.cbegin(); it != given.cend(); ++it) {
        const Change &change = changes()[it.key()];
        if (!change.apply(it.value(), changed))
            return usageError(CliText::tr("set: %1 takes %2, not '%3'")
                                  .arg(it.key(), change.accepted, visibleText(it.value(), 40)));
    }
    table[size_t(relay - 1)] = changed;
    if (QString problem; !saveConfiguration(table, path, problem)) {
        QTextStream(stderr) << "tavikctl: " << problem << '\n';
        return ExitNotWritten;
    }
    QTextStream(stderr) << CliText::tr("%1: %2").arg(path, relayLine(changed, relay)) << '\n';
    return ExitOk;
}

} // namespace

Command setCommand()
{
    return {QStringLiteral("set"), atOnce(setRelay)};
}
