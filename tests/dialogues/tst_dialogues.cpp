// The dialogues and the commands around them against the simulated device, and the reading of each value.
#include "base/errorlog.h"
#include "dialoguerig.h"
#include "dialogues/readparsing.h"
#include "finish.h"
#include "variedrelays.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

// The dialogues on relay 3: the first three give a result number, the live ones "sent", "not sent" or "failed".
enum Dialogue { Read, Program, ReadRelay17, PCControlOn, PCControlOff, Latch, Moment };

// A dialogue against a device with these faults, and how it must end.
struct Case {
    Dialogue dialogue;
    SimFaults faults;
    bool pcControl; // relay 3's, in the record and on the device
    bool portOpenBefore;
    QString outcome;
    QByteArray wire; // what the device received; "?" when it is not looked at
    QString status = {};
    QString logged = {}; // a part of the one failure logged; empty for none
    RelayConfig record = {};
    QString progress = {}; // the program dialogue's steps, when looked at
};

const QString Timeout =
    "Could not communicate with Tavik. Please check COM settings, power, and signal cables.";
const QString GaveUp = "Tavik keeps answering unexpectedly; gave up after 8 retries.";

QString run(DialogueRig &rig, Dialogue dialogue)
{
    DeviceDialogues &d = rig.dialogues;
    const std::function<Task<DialogueResult>()> withResult[] = {
        [&] { return d.readRelay(2); }, [&] { return d.programRelay(2); }, [&] { return d.readRelay(16); }};
    if (dialogue < PCControlOn)
        return QString::number(qint16(finish(withResult[dialogue]())));
    const LiveOutcome outcome = finish(dialogue == Latch    ? d.latchInput(2)
                                       : dialogue == Moment ? d.pulseInput(2)
                                                            : d.setPCControl(2, dialogue == PCControlOn));
    return outcome == LiveOutcome::Succeeded ? "sent" : outcome == LiveOutcome::NotSent ? "not sent" : "failed";
}

} // namespace

class TestDialogues : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

private slots:
    void initTestCase() { setErrorLogPath(logPath()); }
    void init() { QFile::remove(logPath()); }

    void aDialogueEndsAsTheDeviceLetsIt_data()
    {
        QTest::addColumn<Case>("c");
        // The live commands run again against a device that neither echoes escape nor lists its menu.
        auto add = [](const char *name, const Case &c) {
            QTest::newRow(name) << c;
            if (c.dialogue < PCControlOn)
                return;
            Case quiet = c;
            quiet.faults.echoEscape = quiet.faults.menuAfterCommand = false;
            QTest::addRow("%s, escape not echoed", name) << quiet;
        };
        const SimFaults inPieces = {.banners = true, .chunkSize = 3, .chunkDelayMs = 2};
        const QByteArray p = "p3\r1\r0\r0\r0\r0\ry";
        const QString gaveUpLog = "Error 3001 (Tavik kept answering unexpectedly: 8 restarts) in procedure ";
        add("read: a short map line restarts",
            {Read, {.shortMapTimes = 1}, false, false, "0", "r3\r\033r3\r"});
        add("read: banners and output in pieces", {Read, inPieces, false, false, "0", "r3\r"});
        add("read: the eighth restart is allowed",
            {Read, {.wrongEchoFor = 'r', .wrongEchoTimes = 8}, false, false, "0",
             "r" + QByteArray("\033r").repeated(8) + "3\r"});
        add("read: gives up after eight restarts",
            {Read, {.wrongEchoFor = 'r', .wrongEchoTimes = -1}, false, false, "7",
             "r" + QByteArray("\033r").repeated(8) + "\033", GaveUp,
             gaveUpLog + "ReadRelay of Form frmMain"});
        add("read: a restart at the line rate",
            {Read, {.wrongEchoFor = '3', .wrongEchoTimes = 1, .paced = true}, false, false, "0",
             "r3\033r3\r"});
        add("read: silence, port open before", {Read, {.silent = true}, false, true, "3", "?", Timeout});
        add("read: a hang-up",
            {Read, {.hangUpAfterOutput = 40}, false, false, "11", "r3\r",
             "The connection to Tavik was lost. Please check the cable and the COM port.", "Error 1005 ("});
        add("read: relay 17", {ReadRelay17, {}, false, false, "1", "", "", "in procedure ReadRelay"});
        add("program: gives up after eight restarts",
            {Program, {.wrongEchoFor = 'p', .wrongEchoTimes = -1}, false, false, "7",
             "p" + QByteArray("\033p").repeated(8) + "\033", GaveUp, gaveUpLog + "ProgramRelay"});
        add("program: a wrong echo of y restarts, banners in pieces",
            {Program,
             {.wrongEchoFor = 'y', .wrongEchoTimes = 1, .banners = true, .chunkSize = 3, .chunkDelayMs = 2},
             false, false, "0", p + "\033" + p});
        // The first dialogue of a run tries once more after escape; then escape leaves the device at its menu.
        add("program: no number prompt",
            {Program, {.silentAfterOutput = 1}, false, false, "3", "p\033p\033", Timeout});
        add("program: a flooded line", {Program, {.flood = true}, false, false, "4", ""});
        add("program, port open before", {Program, {}, false, true, "0", p});
        // A time goes only with the timed modes, the unlatch set only with Latching.
        add("program Toggle",
            {Program, {}, false, false, "0", "p3\r2\r15\r0\r0\r11\ry", "", "",
             {.InputMap = inputMap(0x00F), .RelayMode = 1, .InputMode = 7, .Hours = 9}, "1 2 3 4 4 4 5 0"});
        add("program Latching, sent as 10",
            {Program, {}, false, false, "0", "p3\r10\r0\r0\r2\r8\r3\r0\r8\r3\ry", "", "",
             {.InputMap = inputMap(0x200), .UnlatchMap = inputMap(0x803), .RelayMode = 9, .InputMode = 4,
              .UnlatchInputMode = 3},
             "1 2 3 4 4 4 5 6 6 6 7 0"});
        add("program a timed relay, which fills the bar",
            {Program, {}, false, false, "0", "p3\r3\r0\r0\r0\r9\r0\r12\r3\r50\ry", "", "",
             {.UnlatchMap = inputMap(0xFFF), .RelayMode = 2, .InputMode = 5, .Minutes = 12, .Seconds = 3,
              .Hundredths = 50},
             "1 2 3 4 4 4 5 8 9 10 11 12 0"});
        add("latch", {Latch, {}, true, false, "sent", "\033l3\r"});
        add("latch without PC control", {Latch, {}, false, false, "not sent", ""});
        add("momentary without PC control, port open before", {Moment, {}, false, true, "not sent", ""});
        add("PC control on", {PCControlOn, {}, false, false, "sent", "\033c3\r"});
        add("PC control off", {PCControlOff, {}, true, false, "sent", "\033c3\r"});
        add("PC control already on", {PCControlOn, {}, true, false, "not sent", ""});
        add("PC control off, silence", {PCControlOff, {.silent = true}, true, false, "failed", "?", Timeout});
        add("latch: gives up after eight restarts",
            {Latch, {.wrongEchoFor = 'l', .wrongEchoTimes = -1}, true, false, "failed",
             QByteArray("\033l").repeated(9) + "\033", GaveUp, gaveUpLog + "latchInput"});
        // In pieces a loaded machine may stall the device long enough to look quiet: a restart still succeeds.
        add("PC control on, banners in pieces", {PCControlOn, inPieces, false, false, "sent", "?"});
        add("latch at the line rate", {Latch, {.paced = true}, true, false, "sent", "\033l3\r"});
    }
    void aDialogueEndsAsTheDeviceLetsIt()
    {
        QFETCH(Case, c);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(2, {.pcControl = c.pcControl});
        rig.table[2] = c.record;
        rig.table[2].PCControl = c.pcControl;
        rig.device.setFaults(c.faults);
        // The pauses only let a real device settle; a flood needs one to fill the line.
        if (!c.faults.flood)
            rig.dialogues.setPauses({1, 1});
        // A device that takes its time gets the whole of it.
        if (c.faults.chunkSize > 0 || c.faults.paced)
            rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        if (c.portOpenBefore)
            QCOMPARE(rig.link.port().open(), DevicePort::OpenResult::Opened);
        QCOMPARE(run(rig, c.dialogue), c.outcome);
        QTest::qWait(20); // the device takes the last characters
        if (c.wire != "?")
            QTRY_COMPARE(rig.device.received(), c.wire); // a live command's last return is not awaited
        QCOMPARE(rig.view.statusText, c.status);
        const QStringList failures = loggedFailures(logPath());
        QCOMPARE(failures.size(), c.logged.isEmpty() ? 0 : 1);
        QVERIFY(c.logged.isEmpty() || failures.at(0).contains(c.logged));
        const bool switched = c.outcome == "sent" && c.dialogue <= PCControlOff;
        QCOMPARE(rig.table[2].PCControl, switched ? c.dialogue == PCControlOn : c.pcControl);
        QCOMPARE(rig.device.relay(2).pcControl, rig.table[2].PCControl);
        QCOMPARE(rig.link.port().isOpen(), c.portOpenBefore);
        if (c.dialogue == Program)
            QVERIFY(rig.table[2] == c.record);
        if (!c.progress.isEmpty())
            QCOMPARE(rig.view.calls({"step"}).join(u' ').remove(QStringLiteral("step ")), c.progress);
        if (c.outcome != "0")
            QCOMPARE(rig.view.actionText, QStringLiteral("Waiting for command..."));
        // A dialogue that gave up or timed out inside a command sent escape at once. The next begins without
        // it, and after a timeout, which the device may not have heard, tries once more after escape.
        if (c.status == GaveUp || (c.outcome == "3" && c.faults.hangUpAfterOutput < 0)) {
            QTRY_VERIFY(rig.device.received().endsWith('\033'));
            rig.device.setFaults({});
            rig.device.clearReceived();
            QCOMPARE(finish(rig.dialogues.readRelay(0)), DialogueResult::Done);
            // Fallen silent halfway, the device missed escape and is still inside the command.
            QCOMPARE(rig.device.received(), c.faults.silentAfterOutput < 0 ? "r1\r" : "r\033r1\r");
        }
    }

    // An earlier run may have left the device anywhere: the first dialogue whose command gets no prompt tries
    // once more after escape; one that finds the device at its menu sends no escape at all.
    void theFirstDialogueBringsTheDeviceBackToItsMenu_data()
    {
        QTest::addColumn<QByteArray>("left"); // what the earlier run sent
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("at its menu") << QByteArray() << QByteArray("r3\r");
        QTest::newRow("after a whole read") << QByteArray("r3\r") << QByteArray("r3\r");
        QTest::newRow("at a read's number") << QByteArray("r") << QByteArray("r\033r3\r");
        QTest::newRow("inside a program") << QByteArray("p3\r2\r") << QByteArray("r\033r3\r");
        QTest::newRow("at a program's question") << QByteArray("p3\r1\r0\r0\r0\r0\r") << QByteArray("r\033r3\r");
    }
    void theFirstDialogueBringsTheDeviceBackToItsMenu()
    {
        QFETCH(QByteArray, left);
        QFETCH(QByteArray, wire);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.dialogues.setPauses({1, 1});
        QCOMPARE(rig.link.port().open(), DevicePort::OpenResult::Opened);
        QVERIFY(rig.link.port().write(left));
        QTRY_COMPARE(rig.device.received(), left);
        rig.link.port().close();
        rig.device.clearReceived();
        QCOMPARE(finish(rig.dialogues.readRelay(2)), DialogueResult::Done);
        QCOMPARE(rig.device.received(), wire);
    }

    // Each value is taken from the record as it is sent: an edit made meanwhile goes from the next answer on.
    void aProgramSendsEachValueAsItStandsThen()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.table[2] = {.InputMap = inputMap(0x001), .RelayMode = 2};
        rig.view.onStep = [&](int step) { // once the mode has gone
            if (step == 3)
                rig.table[2].InputMap = inputMap(0x010), rig.table[2].Minutes = 7;
        };
        QCOMPARE(finish(rig.dialogues.programRelay(2)), DialogueResult::Done);
        QTRY_COMPARE(rig.device.received(), QByteArray("p3\r3\r0\r1\r0\r0\r0\r7\r0\r0\ry"));
    }

    // Each value is told as stored (map inputs from 11 down); a read into a table beside the session's tells none.
    void aReadStoresTheReportAndTellsEachValue_data()
    {
        QTest::addColumn<SimRelay>("device");
        QTest::addColumn<bool>("beside");
        QTest::addColumn<RelayConfig>("relay");
        QTest::addColumn<QString>("told");
        // NAND of inputs 0 and 11, unlatched by NIL of inputs 4 and 5.
        const SimRelay latching{.mode = 10, .gate = 9, .map = 0x801, .unlatchGate = 11, .unlatchMap = 0x030,
                                .counter = 0x1A2B, .closed = true, .pcControl = true};
        const RelayConfig read{.InputMap = inputMap(0x801), .UnlatchMap = inputMap(0x030), .PCControl = true,
                               .Closed = true, .RelayMode = 9, .InputMode = 5, .UnlatchInputMode = 7,
                               .Counter = 6699, .Minutes = 1, .Seconds = 6, .Hundredths = 99};
        QTest::newRow("latching") << latching << false << read
                                  << "RelayMode 9; InputMode 5; Input 100000000001; UnlatchInputMode 7; "
                                     "UnlatchInput 000000110000; ClosureTime 6699; PCControl 1";
        QTest::newRow("Momentary")
            << SimRelay() << false << RelayConfig()
            << "RelayMode 0; InputMode 0; Input 000000000000; ClosureTime 0; PCControl 0";
        QTest::newRow("beside the table") << latching << true << read << QString();
    }
    void aReadStoresTheReportAndTellsEachValue()
    {
        QFETCH(SimRelay, device);
        QFETCH(bool, beside);
        QFETCH(RelayConfig, relay);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(2, device);
        RelayTable besides{};
        QCOMPARE(finish(rig.dialogues.readRelay(2, beside ? &besides : nullptr)), DialogueResult::Done);
        QVERIFY((beside ? besides : rig.table)[2] == relay);
        QVERIFY(!beside || rig.table[2] == RelayConfig());
        QStringList told; // "Field value", a map's inputs one digit each
        for (const QString &line : rig.view.calls({"read"})) {
            const QStringList word = line.split(u' ');
            QCOMPARE(word.at(1), QStringLiteral("2"));
            if (word.at(3) != u"-1" && told.last().startsWith(word.at(2) + u' '))
                told.last() += word.at(4);
            else
                told << word.at(2) + u' ' + word.at(4);
        }
        QTEST(told.join(u"; "), "told");
    }

    void aWholeTableCommandGoesThroughTheRelaysInTurn_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("sayFinished");
        QTest::addColumn<int>("failing"); // the relay that never gets past its number, or 0
        QTest::newRow("read all, menu") << true << false << 0;
        QTest::newRow("program all, button") << false << true << 0;
        QTest::newRow("read all stops at relay 5") << true << true << 5;
        QTest::newRow("program all stops at relay 5") << false << false << 5;
    }
    void aWholeTableCommandGoesThroughTheRelaysInTurn()
    {
        QFETCH(bool, read);
        QFETCH(bool, sayFinished);
        QFETCH(int, failing);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.dialogues.setPauses({0, 0});
        rig.table.fill({.RelayMode = 1}); // Toggle, unlike the device's Momentary relays
        if (failing)
            rig.device.setFaults({.wrongEchoFor = char('0' + failing), .wrongEchoTimes = -1});
        const AllEnding ending = sayFinished ? AllEnding::SayFinished : AllEnding::Quiet;
        const BulkOutcome outcome = finish(read ? rig.commands.readAll(ending) : rig.commands.programAll(ending));
        QCOMPARE(outcome.result, failing ? DialogueResult::GaveUp : DialogueResult::Done);
        QCOMPARE(outcome.relayIndex, failing - 1);

        QStringList calls{"done 0"};
        const int done = failing ? failing - 1 : 16;
        for (int relay = 1; relay <= done + (failing ? 1 : 0); ++relay) {
            calls << QStringLiteral("action %1 relay %2").arg(read ? "Reading" : "Programming").arg(relay)
                  << QStringLiteral("begun %1").arg(relay - 1);
            if (relay == failing) {
                calls << QStringLiteral("stopped %1").arg(relay - 1);
                break;
            }
            calls << (read ? "action Relay read" : "action Relay programmed")
                  << QStringLiteral("done %1").arg(relay);
        }
        if (sayFinished)
            calls << (read ? "action Finished reading all" : "action Finished programming all");
        QCOMPARE(rig.view.calls({"done", "begun", "stopped", "action"}), calls);
        for (int index = 0; index < RelayCount; ++index)
            QCOMPARE(read ? rig.table[size_t(index)].RelayMode : rig.device.relay(index).mode - 1,
                     (index < done) == read ? 0 : 1);
    }

    // A compare reads the device beside the table through the session's dialogues: stopped inside a command, it
    // leaves the device at its menu for the next dialogue, or makes that one begin after escape.
    void aReadBesideTheTableStoppedInACommandLeavesTheMenuKnown_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QByteArray>("next");
        QTest::newRow("cancelled") << true << QByteArray("r1\r");
        QTest::newRow("fallen silent") << false << QByteArray("r\033r1\r");
    }
    void aReadBesideTheTableStoppedInACommandLeavesTheMenuKnown()
    {
        QFETCH(bool, cancel);
        QFETCH(QByteArray, next);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.dialogues.setPauses({1, 1});
        // At the echo of relay 3's "r" the read is cancelled, or the device falls silent, deaf to escape too.
        bool third = false;
        connect(&rig.session, &DeviceSession::relayBegun, &rig.session, [&](int index) {
            if ((third = index == 2) && !cancel)
                rig.device.setFaults({.silentAfterOutput = 1});
        });
        connect(&rig.link.port(), &DevicePort::arrived, &rig.session, [&] {
            if (cancel && std::exchange(third, false))
                rig.link.cancel();
        });
        RelayTable device{};
        QCOMPARE(finish(rig.commands.readAllInto(device)).result,
                 cancel ? DialogueResult::Cancelled : DialogueResult::TimedOut);
        rig.link.clearCancel();
        QTRY_VERIFY(rig.device.received().endsWith('\033'));
        rig.device.setFaults({});
        rig.device.clearReceived();
        QCOMPARE(finish(rig.dialogues.readRelay(0)), DialogueResult::Done);
        QCOMPARE(rig.device.received(), next);
    }

    // How the read dialogue turns each value of the device's report into a field.
    void aValueReadsAs_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected"); // -1: nothing read
        const std::tuple<const char *, const char *, int> rows[] = {
            {"mode", "  [Max-Time] \r", 7}, {"mode", "Latching Toggle\r", 1}, {"mode", "toggle\r", 0},
            {"gate", "IL\r", 3}, {"gate", "NOR\r", 4}, {"gate", "NAND\r", 5}, {"gate", "NXOR\r", 6},
            {"gate", "NIL\r", 7}, {"gate", "XAND\r", 1}, {"gate", "nand\r", 0},
            {"counter", "&HFCAF7F\r", 16559999}, {"counter", "&H8000\r", 32768}, {"counter", "&Hff\r", 255},
            {"counter", "&H12G4\r", 18}, {"counter", "&H\r", 0}, {"stored counter", "&HFFFFFF\r", 0xFFFFFF},
            {"stored counter", "&H1000000\r", -1}, {"stored counter", "&HFFFFFFFE\r", -1},
            {"status", "Closed\r", 1}, {"status", "Closed/Open\r", 0}, {"status", "open\r", -1},
            {"controlled", "Yes\r", 1}, {"controlled", "Yes No\r", 0}, {"controlled", "yes\r", -1},
            {"whole map", "010101010101\r", 1}, {"whole map", "01010101010\r", 0},
        };
        for (const auto &[kind, text, expected] : rows)
            QTest::addRow("%s %s", kind, QByteArray(text).trimmed().constData())
                << QByteArray(kind) << QByteArray(text) << expected;
    }
    void aValueReadsAs()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QByteArray, text);
        auto code = [](std::optional<bool> value) { return value ? int(*value) : -1; };
        const int read = kind == "mode"         ? parseRelayMode(text)
                         : kind == "gate"       ? parseInputMode(text)
                         : kind == "counter"    ? parseHexCounter(text)
                         : kind == "stored counter" ? storableCounter(parseHexCounter(text)).value_or(-1)
                         : kind == "status"     ? code(parseStatus(text))
                         : kind == "controlled" ? code(parseControlled(text))
                                                : int(isCompleteMapLine(text));
        QTEST(read, "expected");
    }

    void theMapLineListsInput11FirstAndStopsAtItsEnd()
    {
        std::array<std::optional<bool>, InputCount> inputs{}; // not 0 or 1, or past the end: as it was
        inputs[11] = true;
        inputs[9] = false;
        QVERIFY(parseInputMap("1x0\r11111111") == inputs);
    }
};

QTEST_GUILESS_MAIN(TestDialogues)
#include "tst_dialogues.moc"
