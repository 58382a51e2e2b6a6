#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "dialogues/readparsing.h"
#include "link/devicelink.h"
#include "link/wait.h"
#include "shell/failure.h"

namespace {

enum ReadMaskBit : qint16 {
    RelayModeBit = 1,
    InputModeBit = 2,
    InputMapBit = 4,
    CounterBit = 8,
    ClosedBit = 16,
    PCControlBit = 32,
};

} // namespace

qint16 DeviceDialogues::ReadRelay(qint16 relayIndex, qint16 ReadMask)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ReadRelay"), 1, QString::number(relayIndex));
        return 1;
    }
    qint16 result = -1;
    const qint16 opened = m_link.OpenSerPort();
    if (opened < 0)
        return 1;
    const bool openedHere = opened == 1;
    const bool lostBefore = m_link.lineLost();

    bool restartFlag = true;
    int restarts = 0;
    for (;;) {
        if (!restartFlag) {
            // Escape brings the device's menu back to its start.
            m_exchange.SendChar('\x1b', false);
            restartFlag = true;
        }
        if (readAttempt(relayIndex, ReadMask, result) != Step::Restart)
            break;
        if (++restarts > MaxRestarts) {
            result = GaveUp;
            giveUp(QStringLiteral("ReadRelay"));
            break;
        }
        restartFlag = false;
    }

    if (m_link.lineLost() && !lostBefore)
        reportLostLine();
    if (openedHere)
        m_link.CloseSerPort();
    return result;
}

DeviceDialogues::Step DeviceDialogues::readAttempt(qint16 relayIndex, qint16 ReadMask, qint16 &result)
{
    RelayConfig &relay = m_table[size_t(relayIndex)];
    QByteArray text;
    auto await = [&](const QByteArray &label) {
        text.clear();
        return afterGetString(m_exchange.GetString(text, label), result);
    };
    auto collect = [&](const QByteArray &start = {}) {
        text = start;
        return afterGetString(m_exchange.GetString(text, "\r"), result);
    };
    // The editor follows the relay only while it shows it, and shows the
    // latching or the unlatching side as the record says.
    auto showsSide = [&](bool unlatchSide) { return isShown(relayIndex) && relay.ShowUnlatch == unlatchSide; };
    auto readGate = [&](qint16 &gate, bool unlatchSide) {
        gate = parseInputMode(text);
        if (showsSide(unlatchSide) && gate != m_view.shownInputMode())
            m_view.showInputMode(gate);
    };
    auto readMap = [&](std::array<bool, InputCount> &map, bool unlatchSide) {
        const auto inputs = parseInputMap(text);
        for (int input = InputCount - 1; input >= 0; --input) {
            const std::optional<bool> inMap = inputs[size_t(input)];
            if (!inMap)
                continue;
            map[size_t(input)] = *inMap;
            if (showsSide(unlatchSide) && m_view.shownInput(input) != *inMap)
                m_view.showInputState(input, *inMap);
        }
    };

    Wait(50);
    if (Step s = afterSendChar(m_exchange.SendChar('r', true), result); s != Step::Go)
        return s;
    if (Step s = await("number (1-16): "); s != Step::Go)
        return s;
    if (Step s = afterSendString(m_exchange.SendString(QByteArray::number(relayIndex + 1), true), result);
        s != Step::Go)
        return s;
    if (Step s = afterSendChar(m_exchange.SendChar('\r', false), result); s != Step::Go)
        return s;

    if (Step s = await("Relay mode: "); s != Step::Go)
        return s;
    if (ReadMask & RelayModeBit) {
        if (Step s = collect(); s != Step::Go)
            return s;
        relay.RelayMode = parseRelayMode(text);
        if (isShown(relayIndex) && relay.RelayMode != m_view.shownRelayMode())
            m_view.showRelayMode(relay.RelayMode);
    }

    if (Step s = await("Input mode: "); s != Step::Go)
        return s;
    if (ReadMask & InputModeBit) {
        if (Step s = collect(); s != Step::Go)
            return s;
        readGate(relay.InputMode, false);
    }

    if (Step s = await("Input map: "); s != Step::Go)
        return s;
    if (Step s = collect(); s != Step::Go)
        return s;
    if (!isCompleteMapLine(text))
        return Step::Restart;
    if (ReadMask & InputMapBit)
        readMap(relay.InputMap, false);

    if (relay.RelayMode == LatchingMode) {
        if (Step s = await("Input mode: "); s != Step::Go)
            return s;
        if (ReadMask & InputModeBit) {
            if (Step s = collect(); s != Step::Go)
                return s;
            readGate(relay.UnlatchInputMode, true);
        }
        if (Step s = await("Input map: "); s != Step::Go)
            return s;
        if (Step s = collect(); s != Step::Go)
            return s;
        if (!isCompleteMapLine(text))
            return Step::Restart;
        if (ReadMask & InputMapBit)
            readMap(relay.UnlatchMap, true);
    }

    if (Step s = await("counter: 0x"); s != Step::Go)
        return s;
    if (ReadMask & CounterBit) {
        if (Step s = collect("&H"); s != Step::Go)
            return s;
        relay.Counter = parseHexCounter(text);
        CounterToTime(relay);
        if (isShown(relayIndex))
            m_view.showClosureTime(relay);
    }

    if (Step s = await("status: "); s != Step::Go)
        return s;
    if (ReadMask & ClosedBit) {
        if (Step s = collect(); s != Step::Go)
            return s;
        if (const std::optional<bool> closed = parseStatus(text))
            relay.Closed = *closed;
    }

    if (Step s = await("controlled: "); s != Step::Go)
        return s;
    if (ReadMask & PCControlBit) {
        if (Step s = collect(); s != Step::Go)
            return s;
        if (const std::optional<bool> controlled = parseControlled(text)) {
            relay.PCControl = *controlled;
            if (isShown(relayIndex))
                m_view.showPCControl(*controlled);
        }
    }

    result = 0;
    m_view.setActionText(QStringLiteral("Relay read"));
    return Step::End;
}
