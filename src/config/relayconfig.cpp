#include "config/relayconfig.h"

#include <QCoreApplication>

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

std::optional<OutOfRange> firstOutOfRange(const RelayConfig &relay)
{
    struct Sent {
        SentField field;
        int value;
        int largest;
    };
    QList<Sent> sent{{SentField::RelayMode, relay.RelayMode, RelayModeCount - 1},
                     {SentField::InputMode, relay.InputMode, InputModeCount - 1}};
    // Only what this relay's mode sends: a Momentary relay's unlatch side stays in the file.
    if (isLatchingMode(relay.RelayMode))
        sent.append({SentField::UnlatchInputMode, relay.UnlatchInputMode, InputModeCount - 1});
    else if (isTimedMode(relay.RelayMode))
        sent += {{SentField::Hours, relay.Hours, 45},
                 {SentField::Minutes, relay.Minutes, 59},
                 {SentField::Seconds, relay.Seconds, 59},
                 {SentField::Hundredths, relay.Hundredths, 99}};
    for (const Sent &one : sent) {
        if (one.value < 0 || one.value > one.largest)
            return OutOfRange{one.field, one.value};
    }
    return std::nullopt;
}

QString outOfRangeText(const QString &value)
{
    return QCoreApplication::translate("RelayConfig", "out of range (%1)").arg(value);
}

QString outOfRangeNote(int relayNumber, const OutOfRange &outOfRange)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("RelayConfig", "relay mode"), QT_TRANSLATE_NOOP("RelayConfig", "input mode"),
        QT_TRANSLATE_NOOP("RelayConfig", "unlatch input mode"), QT_TRANSLATE_NOOP("RelayConfig", "hours"),
        QT_TRANSLATE_NOOP("RelayConfig", "minutes"), QT_TRANSLATE_NOOP("RelayConfig", "seconds"),
        QT_TRANSLATE_NOOP("RelayConfig", "hundredths")};
    return QCoreApplication::translate("RelayConfig", "Relay %1: %2 %3")
        .arg(relayNumber)
        .arg(QCoreApplication::translate("RelayConfig", names[int(outOfRange.field)]),
             outOfRangeText(QString::number(outOfRange.value)));
}

QStringList outOfRangeNotes(const RelayTable &table)
{
    QStringList notes;
    for (int index = 0; index < RelayCount; ++index) {
        if (const auto outOfRange = firstOutOfRange(table[size_t(index)]))
            notes << outOfRangeNote(index + 1, *outOfRange);
    }
    return notes;
}
