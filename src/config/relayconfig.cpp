#include "config/relayconfig.h"

QStringList relayModeList()
{
    return QString::fromLatin1(RelayModeNames).split(u',');
}

QStringList inputModeList()
{
    return QString::fromLatin1(InputModeNames).split(u',');
}

int relayModeCode(qint16 relayMode)
{
    return qint16(relayMode + 1);
}

int inputModeCode(qint16 inputMode)
{
    // The inverted gates carry the 8 bit of the device's four-bit gate code.
    return inputMode < 4 ? inputMode : qint16(inputMode + 4);
}

bool isTimedMode(qint16 relayMode)
{
    return relayMode >= FirstTimedMode && relayMode < LatchingMode;
}

bool isLatchingMode(qint16 relayMode)
{
    return relayMode >= LatchingMode;
}

bool showsUnlatchSet(const RelayConfig &relay)
{
    return relay.RelayMode == LatchingMode && relay.ShowUnlatch;
}

int mapGroupValue(const std::array<bool, InputCount> &map, int group)
{
    qint16 value = 0;
    for (int j = 0; j < 4; ++j) {
        if (map[size_t(4 * group + j)])
            value = qint16(value | (1 << j));
    }
    return value;
}

void CounterToTime(RelayConfig &relay)
{
    qint32 rest = relay.Counter;
    relay.Hours = qint16(rest / 360000);
    rest -= relay.Hours * 360000;
    relay.Minutes = qint16(rest / 6000);
    rest -= relay.Minutes * 6000;
    relay.Seconds = qint16(rest / 100);
    relay.Hundredths = qint16(rest - relay.Seconds * 100);
}

void TimeToCounter(RelayConfig &relay)
{
    relay.Counter = qint32(relay.Hours) * 360000 + qint32(relay.Minutes) * 6000 + qint32(relay.Seconds) * 100 +
                    qint32(relay.Hundredths);
}

void ClearRelay(RelayConfig &relay)
{
    relay.Counter = 0;
    CounterToTime(relay);
    relay.RelayMode = 0;
    relay.InputMode = 0;
    relay.UnlatchInputMode = 0;
    relay.InputMap.fill(false);
    relay.UnlatchMap.fill(false);
}
