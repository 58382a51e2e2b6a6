#include "relaytext.h"

#include "clitext.h"
#include "config/relaycomparison.h"

#include <QStringList>

namespace
{

QString yesNo(bool value)
{
    return value ? CliText::tr("Yes") : CliText::tr("No");
}

} // namespace

QString relayLine(const RelayConfig &relay, int number)
{
    QStringList parts{CliText::tr("Relay %1: %2").arg(number, 2).arg(RelayText::relayMode(relay.RelayMode)),
                      RelayText::gate(relay.InputMode, relay.InputMap)};
    if (isLatchingMode(relay.RelayMode))
        parts << CliText::tr("unlatch %1").arg(RelayText::gate(relay.UnlatchInputMode, relay.UnlatchMap));
    parts << CliText::tr("time %1").arg(RelayText::closureTime(relay)) << RelayText::contact(relay.Closed)
          << CliText::tr("PC control %1").arg(yesNo(relay.PCControl));
    return parts.join(QStringLiteral("; "));
}

QString relayDescription(const RelayConfig &relay, int number)
{
    QString text = CliText::tr("Relay %1\n").arg(number);
    text += CliText::tr("Mode: %1\n").arg(RelayText::relayMode(relay.RelayMode));
    text += CliText::tr("Gate: %1\n").arg(RelayText::gate(relay.InputMode, relay.InputMap));
    if (isLatchingMode(relay.RelayMode))
        text +=
            CliText::tr("Unlatch gate: %1\n").arg(RelayText::gate(relay.UnlatchInputMode, relay.UnlatchMap));
    text += CliText::tr("Closure time: %1\n").arg(RelayText::closureTime(relay));
    text += CliText::tr("Contact: %1\n").arg(RelayText::contact(relay.Closed));
    text += CliText::tr("PC control: %1\n").arg(yesNo(relay.PCControl));
    return text;
}
