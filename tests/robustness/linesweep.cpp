#include "linesweep.h"

#include "dialoguerig.h"

#include <QSignalSpy>
#include <QTest>

namespace
{

std::array<bool, InputCount> mapOf(const char *digits) // input 11 first
{
    std::array<bool, InputCount> map{};
    for (int i = 0; i < InputCount; ++i)
        map[size_t(InputCount - 1 - i)] = digits[i] == '1';
    return map;
}

RelayConfig record(qint16 mode, qint16 gate, const char *map, qint16 unlatchGate, const char *unlatchMap,
                   qint32 counter, bool closed, bool pcControl)
{
    RelayConfig relay;
    relay.RelayMode = mode;
    relay.InputMode = gate;
    relay.InputMap = mapOf(map);
    relay.UnlatchInputMode = unlatchGate;
    relay.UnlatchMap = mapOf(unlatchMap);
    relay.Counter = counter;
    CounterToTime(relay);
    relay.Closed = closed;
    relay.PCControl = pcControl;
    return relay;
}

} // namespace

bool isRead(SweptDialogue dialogue)
{
    return dialogue == SweptDialogue::ReadLatching || dialogue == SweptDialogue::ReadTimed;
}

bool isProgram(SweptDialogue dialogue)
{
    return dialogue == SweptDialogue::ProgramMomentary || dialogue == SweptDialogue::ProgramTimed ||
           dialogue == SweptDialogue::ProgramLatching;
}

SimRelay sweptDeviceRelay(SweptDialogue dialogue)
{
    SimRelay relay;
    switch (dialogue) {
    case SweptDialogue::ReadLatching:
        relay.mode = 10;
        relay.gate = 9; // NAND
        relay.map = 0b100000000001;
        relay.unlatchGate = 11; // NIL
        relay.unlatchMap = 0b000000110000;
        relay.counter = 0x1A2B;
        relay.closed = true;
        relay.pcControl = true;
        break;
    case SweptDialogue::ReadTimed:
        relay.mode = 8;  // Max-Time
        relay.gate = 10; // NXOR
        relay.map = 0b001000000110;
        relay.counter = 0xFCAF7F;
        relay.closed = true;
        break;
    case SweptDialogue::Latch:
    case SweptDialogue::Moment:
        relay.pcControl = true;
        break;
    default:
        break;
    }
    return relay;
}

RelayConfig sweptRecordRead(SweptDialogue dialogue)
{
    if (dialogue == SweptDialogue::ReadLatching)
        return record(9, 5, "100000000001", 7, "000000110000", 6699, true, true);
    // The unlatch side is not in a timed relay's report: it keeps the old values.
    return record(7, 6, "001000000110", 3, "010101010101", 16559999, true, false);
}

SimRelay sweptRelayProgrammed(SweptDialogue dialogue)
{
    SimRelay relay;
    switch (dialogue) {
    case SweptDialogue::ProgramMomentary:
        relay.mode = 2; // Toggle
        relay.gate = 2; // XOR
        relay.map = 0b000011110000;
        break;
    case SweptDialogue::ProgramTimed:
        relay.mode = 6; // Pulse-Stretch
        relay.gate = 8; // NOR
        relay.map = 0b100000000000;
        relay.counter = 16559999;
        break;
    default:
        relay.mode = 10; // Latching
        relay.gate = 1;  // AND
        relay.map = 0b000000000011;
        relay.unlatchGate = 10; // NXOR
        relay.unlatchMap = 0b110000000000;
        break;
    }
    return relay;
}

RelayTable sweptTableBefore(SweptDialogue dialogue)
{
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i)
        table[size_t(i)] = record(qint16(i % 10), qint16(i % 8), "110011001100", 2, "001100110011",
                                  100 * i + 7, false, i % 2 == 1);
    RelayConfig &swept = table[SweptRelay];
    switch (dialogue) {
    case SweptDialogue::ReadLatching:
    case SweptDialogue::ReadTimed:
        // Every field differs from what the device will send.
        swept = record(3, 3, "010101010110", 3, "010101010101", 360042, false, false);
        swept.PCControl = dialogue == SweptDialogue::ReadTimed ? true : false;
        break;
    case SweptDialogue::ProgramMomentary:
        swept = record(1, 2, "000011110000", 0, "000000000000", 0, false, false); // Toggle, XOR
        break;
    case SweptDialogue::ProgramTimed:
        swept = record(5, 4, "100000000000", 0, "000000000000", 16559999, false, false); // Pulse-Stretch, NOR
        break;
    case SweptDialogue::ProgramLatching:
        swept = record(9, 1, "000000000011", 6, "110000000000", 0, false, false); // Latching, AND / NXOR
        break;
    case SweptDialogue::PCControl:
        swept.PCControl = false;
        break;
    case SweptDialogue::Latch:
    case SweptDialogue::Moment:
        swept.PCControl = true;
        break;
    }
    return table;
}

QString halfParsedFields(const RelayConfig &before, const RelayConfig &device, const RelayConfig &after)
{
    QStringList wrong;
    auto check = [&](const char *name, auto b, auto d, auto a) {
        if (a != b && a != d)
            wrong += QString::fromLatin1(name);
    };
    check("RelayMode", before.RelayMode, device.RelayMode, after.RelayMode);
    check("InputMode", before.InputMode, device.InputMode, after.InputMode);
    check("UnlatchInputMode", before.UnlatchInputMode, device.UnlatchInputMode, after.UnlatchInputMode);
    for (int i = 0; i < InputCount; ++i) {
        check("InputMap", before.InputMap[size_t(i)], device.InputMap[size_t(i)], after.InputMap[size_t(i)]);
        check("UnlatchMap", before.UnlatchMap[size_t(i)], device.UnlatchMap[size_t(i)],
              after.UnlatchMap[size_t(i)]);
    }
    auto time = [](const RelayConfig &r) {
        return std::tuple(r.Counter, r.Hours, r.Minutes, r.Seconds, r.Hundredths);
    };
    check("closure time", time(before), time(device), time(after));
    check("Closed", before.Closed, device.Closed, after.Closed);
    check("PCControl", before.PCControl, device.PCControl, after.PCControl);
    check("ShowUnlatch", before.ShowUnlatch, device.ShowUnlatch, after.ShowUnlatch);
    return wrong.join(QStringLiteral(", "));
}

namespace
{

bool runDialogue(DialogueRig &rig, SweptDialogue dialogue, qint16 &result)
{
    switch (dialogue) {
    case SweptDialogue::ReadLatching:
    case SweptDialogue::ReadTimed:
        result = qint16(rig.dialogues.ReadRelay(SweptRelay));
        return result == 0;
    case SweptDialogue::ProgramMomentary:
    case SweptDialogue::ProgramTimed:
    case SweptDialogue::ProgramLatching:
        result = qint16(rig.dialogues.ProgramRelay(SweptRelay));
        return result == 0;
    case SweptDialogue::PCControl:
        return rig.dialogues.setPCControl(true) == LiveOutcome::Succeeded;
    case SweptDialogue::Latch:
        return rig.dialogues.latchInput() == LiveOutcome::Succeeded;
    case SweptDialogue::Moment:
        return rig.dialogues.pulseInput() == LiveOutcome::Succeeded;
    }
    return false;
}

} // namespace

SweepOutcome runSwept(SweptDialogue dialogue, const SweepFault &fault, const QString &logPath, bool thenFresh)
{
    SweepOutcome outcome;
    outcome.dialogue = dialogue;
    QFile::remove(logPath);
    DialogueRig rig;
    if (!rig.start())
        return outcome;
    rig.link.clock().setTimeoutTicks(fault.timeoutTicks);
    rig.table = sweptTableBefore(dialogue);
    rig.view.setShownRelay(SweptRelay);
    rig.device.setRelay(SweptRelay, sweptDeviceRelay(dialogue));
    rig.misbehave([&](SimFaults &f) {
        f.hangUpAfterOutput = fault.hangUpAfterOutput;
        f.silentAfterOutput = fault.silentAfterOutput;
        f.wrongEchoAtInput = fault.wrongEchoAtInput;
    });
    rig.device.clearReceived();
    QSignalSpy lost(&rig.link.port(), &DevicePort::connectionLost);

    outcome.succeeded = runDialogue(rig, dialogue, outcome.result);
    outcome.portOpen = rig.link.port().isOpen();
    outcome.lostSignals = int(lost.count());
    outcome.loggedFailures = int(loggedFailures(logPath).size());
    outcome.statusText = rig.view.statusText;
    outcome.table = rig.table;
    if (!thenFresh) {
        // The device may still be answering the last character sent (a live
        // command ends without waiting for it): count all it says.
        qint64 said = -1;
        while (rig.device.sentCount() != said) {
            said = rig.device.sentCount();
            QTest::qWait(100);
        }
    }
    outcome.deviceRelay = rig.device.relay(SweptRelay);
    outcome.received = rig.device.received();
    outcome.sent = rig.device.sentCount();
    if (!thenFresh)
        return outcome;

    TavikSimulator fresh;
    if (!fresh.start())
        return outcome;
    fresh.setRelay(SweptRelay, sweptDeviceRelay(dialogue));
    rig.link.port().setPortText(
        QStringLiteral("Com") +
        QString::number(rig.link.port().directory().addRuntimePort(fresh.portPath())));
    rig.table = sweptTableBefore(dialogue);
    rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
    qint16 unused = -1;
    outcome.freshSucceeded = runDialogue(rig, dialogue, unused);
    outcome.freshPortOpen = rig.link.port().isOpen();
    outcome.freshTable = rig.table;
    outcome.freshDeviceRelay = fresh.relay(SweptRelay);
    return outcome;
}
