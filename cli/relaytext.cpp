#include "relaytext.h"

#include <QStringList>

QString gateText(qint16 inputMode, const std::array<bool, InputCount> &map)
{
    QStringList inputs;
    for (int input = 0; input < InputCount; ++input) {
        if (map[size_t(input)])
            inputs << QString::number(input);
    }
    const QString gate = inputModeList().value(inputMode, QStringLiteral("?"));
    if (inputs.isEmpty())
        return gate + QStringLiteral(" of no input");
    return gate + (inputs.size() == 1 ? QStringLiteral(" of input ") : QStringLiteral(" of inputs ")) +
           inputs.join(QStringLiteral(", "));
}

QString closureTimeText(const RelayConfig &relay)
{
    RelayConfig time = relay;
    CounterToTime(time);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(time.Hours)
        .arg(time.Minutes, 2, 10, QLatin1Char('0'))
        .arg(time.Seconds, 2, 10, QLatin1Char('0'))
        .arg(time.Hundredths, 2, 10, QLatin1Char('0'));
}

namespace
{

QString modeText(const RelayConfig &relay)
{
    return relayModeList().value(relay.RelayMode, QStringLiteral("?"));
}

QString contactText(const RelayConfig &relay)
{
    return relay.Closed ? QStringLiteral("Closed") : QStringLiteral("Open");
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

} // namespace

QString relayLine(const RelayConfig &relay, int number)
{
    QStringList parts{QStringLiteral("Relay %1: %2").arg(number, 2).arg(modeText(relay)),
                      gateText(relay.InputMode, relay.InputMap)};
    if (isLatchingMode(relay.RelayMode))
        parts << QStringLiteral("unlatch ") + gateText(relay.UnlatchInputMode, relay.UnlatchMap);
    parts << QStringLiteral("time ") + closureTimeText(relay) << contactText(relay)
          << QStringLiteral("PC control ") + yesNo(relay.PCControl);
    return parts.join(QStringLiteral("; "));
}

QString relayDescription(const RelayConfig &relay, int number)
{
    QString text = QStringLiteral("Relay %1\n").arg(number);
    text += QStringLiteral("Mode: %1\n").arg(modeText(relay));
    text += QStringLiteral("Gate: %1\n").arg(gateText(relay.InputMode, relay.InputMap));
    if (isLatchingMode(relay.RelayMode))
        text += QStringLiteral("Unlatch gate: %1\n").arg(gateText(relay.UnlatchInputMode, relay.UnlatchMap));
    text += QStringLiteral("Closure time: %1\n").arg(closureTimeText(relay));
    text += QStringLiteral("Contact: %1\n").arg(contactText(relay));
    text += QStringLiteral("PC control: %1\n").arg(yesNo(relay.PCControl));
    return text;
}
