// The read, program and live dialogues and the commands around them, against
// the simulated device through the real port.
#include "cputime.h"
#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SimFaults)
Q_DECLARE_METATYPE(SimRelay)

namespace
{

const QString TimeoutText =
    QStringLiteral("Could not communicate with Tavik. Please check COM settings, power, and signal cables.");

enum Dialogue { Read, Program, PCControlOn, PCControlOff, Latch, Moment };

// What the dialogue for relay 3 came to: its result number, or how a live command went.
QString run(DialogueRig &rig, int dialogue)
{
    auto live = [](LiveOutcome outcome) {
        return outcome == LiveOutcome::Succeeded ? QStringLiteral("sent")
               : outcome == LiveOutcome::NotSent ? QStringLiteral("not sent")
                                                 : QStringLiteral("failed");
    };
    switch (dialogue) {
    case Read:
        return QString::number(qint16(rig.dialogues.ReadRelay(2)));
    case Program:
        return QString::number(qint16(rig.dialogues.ProgramRelay(2)));
    case PCControlOn:
    case PCControlOff:
        return live(rig.dialogues.setPCControl(dialogue == PCControlOn));
    case Latch:
        return live(rig.dialogues.latchInput());
    default:
        return live(rig.dialogues.pulseInput());
    }
}

SimFaults wrongEcho(char character, int times)
{
    SimFaults faults;
    faults.wrongEchoFor = character;
    faults.wrongEchoTimes = times;
    return faults;
}

SimFaults fault(void (*set)(SimFaults &))
{
    SimFaults faults;
    set(faults);
    return faults;
}

QStringList progressValues(const RecordingView &view, bool wholeOnly = false)
{
    QStringList values;
    for (const QString &call : view.calls({QStringLiteral("progress")})) {
        if (!wholeOnly || call.endsWith(QStringLiteral(".000")))
            values << call.section(u' ', 1);
    }
    return values;
}

} // namespace

class TestDialogues : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void init() { QFile::remove(logPath()); }

    void aDialogueEndsAsTheDeviceLetsIt_data()
    {
        QTest::addColumn<int>("dialogue");
        QTest::addColumn<SimFaults>("faults");
        QTest::addColumn<bool>("pcControl");    // of relay 3, in the record and on the device
        QTest::addColumn<bool>("portOpenBefore");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QByteArray>("wire");   // what the device received; null: not looked at
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("logged");    // the one failure logged, or empty for none
        const QByteArray program = "p3\r1\r0\r0\r0\r0\ry";
        const QString gaveUp = DeviceDialogues::GaveUpText;
        QTest::newRow("read: a wrong echo of r restarts") << int(Read) << wrongEcho('r', 1) << false << false
            << "0" << QByteArray("r\x1br3\r") << "" << "";
        QTest::newRow("read: a wrong echo of the number restarts") << int(Read) << wrongEcho('3', 1) << false
            << false << "0" << QByteArray("r3\x1br3\r") << "" << "";
        QTest::newRow("read: a short map line restarts")
            << int(Read) << fault([](SimFaults &f) { f.shortMapTimes = 1; }) << false << false << "0"
            << QByteArray("r3\r\x1br3\r") << "" << "";
        QTest::newRow("read: banners and output in small pieces")
            << int(Read) << fault([](SimFaults &f) { f.banners = true, f.chunkSize = 3, f.chunkDelayMs = 2; })
            << false << false << "0" << QByteArray("r3\r") << "" << "";
        QTest::newRow("read: the eighth restart still goes through") << int(Read) << wrongEcho('r', 8) << false
            << false << "0" << "r" + QByteArray("\x1br").repeated(8) + "3\r" << "" << "";
        QTest::newRow("read: gives up after eight restarts") << int(Read) << wrongEcho('r', -1) << false
            << false << "7" << "r" + QByteArray("\x1br").repeated(8) << gaveUp
            << "Error 3001 (Tavik kept answering unexpectedly: 8 restarts) in procedure ReadRelay of Form frmMain";
        QTest::newRow("read: silence") << int(Read) << fault([](SimFaults &f) { f.silent = true; }) << false
            << false << "3" << QByteArray() << TimeoutText << "";
        QTest::newRow("read: silent after the relay mode, no status text")
            << int(Read) << fault([](SimFaults &f) { f.silentAfterOutput = 40; }) << false << false << "3"
            << QByteArray("r3\r") << "" << "";
        QTest::newRow("read: a hang-up") << int(Read) << fault([](SimFaults &f) { f.hangUpAfterOutput = 40; })
            << false << false << "3" << QByteArray("r3\r") << DeviceDialogues::ConnectionLostText
            << "Error 1005 (";
        QTest::newRow("read: silence with the port open before")
            << int(Read) << fault([](SimFaults &f) { f.silent = true; }) << false << true << "3" << QByteArray()
            << TimeoutText << "";
        QTest::newRow("program: a wrong echo of p restarts on an empty ring")
            << int(Program) << wrongEcho('p', 1) << false << false << "0" << "p\x1b" + program << "" << "";
        QTest::newRow("program: a wrong echo of y restarts from p") << int(Program) << wrongEcho('y', 1) << false
            << false << "0" << program + "\x1b" + program << "" << "";
        QTest::newRow("program: gives up after eight restarts") << int(Program) << wrongEcho('p', -1) << false
            << false << "7" << "p" + QByteArray("\x1bp").repeated(8) << gaveUp << "in procedure ProgramRelay";
        QTest::newRow("program: no number prompt")
            << int(Program) << fault([](SimFaults &f) { f.silentAfterOutput = 1; }) << false << false << "3"
            << QByteArray("p") << "" << "";
        QTest::newRow("program: a flooded line sends nothing")
            << int(Program) << fault([](SimFaults &f) { f.flood = true; }) << false << false << "4"
            << QByteArray("") << "" << "";
        QTest::newRow("program with the port open before") << int(Program) << SimFaults() << false << true
            << "0" << program << "" << "";
        QTest::newRow("latch under PC control") << int(Latch) << SimFaults() << true << false << "sent"
            << QByteArray("\x1bl3\r") << "" << "";
        QTest::newRow("momentary under PC control") << int(Moment) << SimFaults() << true << false << "sent"
            << QByteArray("\x1bm3\r") << "" << "";
        QTest::newRow("latch without PC control") << int(Latch) << SimFaults() << false << false << "not sent"
            << QByteArray("") << "" << "";
        QTest::newRow("momentary without PC control, port open before") << int(Moment) << SimFaults() << false
            << true << "not sent" << QByteArray("") << "" << "";
        QTest::newRow("PC control switched on") << int(PCControlOn) << SimFaults() << false << false << "sent"
            << QByteArray("\x1b" "c3\r") << "" << "";
        QTest::newRow("PC control switched off") << int(PCControlOff) << SimFaults() << true << false << "sent"
            << QByteArray("\x1b" "c3\r") << "" << "";
        QTest::newRow("PC control already as asked") << int(PCControlOn) << SimFaults() << true << false
            << "not sent" << QByteArray("") << "" << "";
        QTest::newRow("PC control: a wrong echo of the number restarts") << int(PCControlOn) << wrongEcho('3', 1)
            << false << false << "sent" << QByteArray("\x1b" "c3\x1b" "c3\r") << "" << "";
        QTest::newRow("PC control off, silence") << int(PCControlOff)
            << fault([](SimFaults &f) { f.silent = true; }) << true << false << "failed" << QByteArray()
            << TimeoutText << "";
        QTest::newRow("latch: gives up after eight restarts") << int(Latch) << wrongEcho('l', -1) << true
            << false << "failed" << QByteArray("\x1bl").repeated(9) << gaveUp << "in procedure latchInput";
    }
    void aDialogueEndsAsTheDeviceLetsIt()
    {
        QFETCH(int, dialogue);
        QFETCH(SimFaults, faults);
        QFETCH(bool, pcControl);
        QFETCH(bool, portOpenBefore);
        QFETCH(QString, outcome);
        QFETCH(QByteArray, wire);
        QFETCH(QString, status);
        QFETCH(QString, logged);
        DialogueRig rig;
        QVERIFY(rig.start());
        // A hang-up must end the wait at once, not after a spinning timeout.
        if (faults.hangUpAfterOutput >= 0)
            rig.link.setTimeoutTicks(DeviceLink::DefaultTimeoutTicks);
        SimRelay relay;
        relay.pcControl = pcControl;
        rig.device.setRelay(2, relay);
        rig.table[2].PCControl = pcControl;
        rig.view.setShownRelay(2);
        rig.device.setFaults(faults);
        if (portOpenBefore)
            QCOMPARE(rig.link.OpenSerPort(), qint16(1));
        const double cpuBefore = processCpuMilliseconds();
        QCOMPARE(run(rig, dialogue), outcome);
        const double cpuUsed = processCpuMilliseconds() - cpuBefore;
        QTest::qWait(20); // the device's last characters
        if (!wire.isNull())
            QCOMPARE(rig.device.received(), wire);
        QCOMPARE(rig.view.statusText, status);
        const QStringList failures = loggedFailures(logPath());
        QCOMPARE(failures.size(), logged.isEmpty() ? 0 : 1);
        if (!logged.isEmpty())
            QVERIFY2(failures.at(0).contains(logged), qPrintable(failures.at(0)));
        const bool switched = outcome == "sent" && dialogue <= PCControlOff;
        QCOMPARE(rig.table[2].PCControl, switched ? dialogue == PCControlOn : pcControl);
        if (!faults.silent && !faults.flood)
            QCOMPARE(rig.device.relay(2).pcControl, rig.table[2].PCControl);
        QCOMPARE(rig.link.comSerPort().portOpen(), portOpenBefore);
        QVERIFY2(cpuUsed < 1500, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
    }

    void aRelayOutsideTheTableSendsNothing()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        QCOMPARE(rig.dialogues.ReadRelay(16), DialogueResult::PortFailed);
        QCOMPARE(rig.dialogues.ProgramRelay(-1), DialogueResult::PortFailed);
        QTest::qWait(50);
        QVERIFY(rig.device.received().isEmpty());
        QCOMPARE(loggedFailures(logPath()).size(), 2);
    }

    void theEditorFollowsTheReadOfTheRelayShown_data()
    {
        QTest::addColumn<SimRelay>("device");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("showUnlatch");
        QTest::addColumn<QStringList>("editor");
        SimRelay latching;
        latching.mode = 10;
        latching.gate = 9; // NAND
        latching.map = 0x801;
        latching.unlatchGate = 11; // NIL
        latching.unlatchMap = 0x030;
        latching.counter = 0x1A2B;
        latching.pcControl = true;
        QTest::newRow("latching side shown") << latching << 2 << false
            << QStringList{"relayMode 9", "inputMode 5", "input 11 in", "input 0 in", "closureTime 0 1 6.99",
                           "pcControl true"};
        QTest::newRow("unlatching side shown") << latching << 2 << true
            << QStringList{"relayMode 9", "inputMode 7", "input 5 in", "input 4 in", "closureTime 0 1 6.99",
                           "pcControl true"};
        QTest::newRow("another relay shown") << latching << 0 << false << QStringList{};
        QTest::newRow("left alone where it agrees")
            << SimRelay() << 2 << false << QStringList{"closureTime 0 0 0.00", "pcControl false"};
    }
    void theEditorFollowsTheReadOfTheRelayShown()
    {
        QFETCH(SimRelay, device);
        QFETCH(int, shown);
        QFETCH(bool, showUnlatch);
        QFETCH(QStringList, editor);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(2, device);
        rig.view.setShownRelay(shown);
        rig.table[2].ShowUnlatch = showUnlatch;
        QCOMPARE(rig.dialogues.ReadRelay(2), DialogueResult::Done);
        QCOMPARE(rig.view.editorCalls(), editor);
        QCOMPARE(rig.table[2].RelayMode, device.mode - 1);
        QCOMPARE(rig.table[2].Counter, qint32(device.counter));
        QCOMPARE(rig.view.actionText, QStringLiteral("Relay read"));
    }

    void theProgramAnswersFollowTheRelayMode_data()
    {
        QTest::addColumn<int>("relayIndex");
        QTest::addColumn<RelayConfig>("config");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("progress");
        RelayConfig toggle;
        toggle.RelayMode = 1;
        toggle.InputMode = 7; // NIL
        std::fill_n(toggle.InputMap.begin(), 4, true);
        toggle.Hours = 9; // a time is sent only for the timed modes
        QTest::newRow("Toggle takes no time and no unlatch set") << 4 << toggle
            << QByteArray("p5\r2\r15\r0\r0\r11\ry") << "3.583 4.583 5.583 6.583 6.583 6.583 7.583 0.000";
        RelayConfig latching;
        latching.RelayMode = 9;
        latching.InputMode = 4; // NOR
        latching.InputMap[9] = true;
        latching.UnlatchMap[0] = latching.UnlatchMap[1] = latching.UnlatchMap[11] = true;
        latching.UnlatchInputMode = 3;
        QTest::newRow("Latching is sent as 10 with its unlatch set") << 15 << latching
            << QByteArray("p16\r10\r0\r0\r2\r8\r3\r0\r8\r3\ry")
            << "3.583 4.583 5.583 6.583 6.583 6.583 7.583 8.583 8.583 8.583 9.583 0.000";
        RelayConfig timed;
        timed.RelayMode = 2;
        timed.InputMode = 5; // NAND
        timed.Minutes = 12;
        timed.Seconds = 3;
        timed.Hundredths = 50;
        timed.UnlatchMap.fill(true);
        QTest::newRow("a timed relay sends its time and fills the bar") << 0 << timed
            << QByteArray("p1\r3\r0\r0\r0\r9\r0\r12\r3\r50\ry")
            << "3.583 4.583 5.583 6.583 6.583 6.583 7.583 10.583 11.583 12.583 13.583 31.000 0.000";
    }
    void theProgramAnswersFollowTheRelayMode()
    {
        QFETCH(int, relayIndex);
        QFETCH(RelayConfig, config);
        QFETCH(QByteArray, wire);
        QFETCH(QString, progress);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.table[size_t(relayIndex)] = config;
        const RelayTable before = rig.table;
        QCOMPARE(rig.dialogues.ProgramRelay(qint16(relayIndex)), DialogueResult::Done);
        QCOMPARE(rig.device.received(), wire);
        QCOMPARE(progressValues(rig.view).join(u' '), progress);
        QCOMPARE(rig.view.actionText, QStringLiteral("Relay programmed"));
        QVERIFY(rig.table == before);
    }

    void aWholeTableCommandReportsEachRelay_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<bool>("sayFinished");
        QTest::newRow("read all, button") << true << true;
        QTest::newRow("read all, menu") << true << false;
        QTest::newRow("program all, button") << false << true;
        QTest::newRow("program all, menu") << false << false;
    }
    void aWholeTableCommandReportsEachRelay()
    {
        QFETCH(bool, read);
        QFETCH(bool, sayFinished);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.dialogues.setPauses({0, 0});
        const AllEnding ending = sayFinished ? AllEnding::SayFinished : AllEnding::Quiet;
        const BulkOutcome outcome = read ? rig.commands.readAll(ending) : rig.commands.programAll(ending);
        QCOMPARE(outcome.result, DialogueResult::Done);
        QCOMPARE(outcome.relayIndex, -1);
        QStringList calls{"enable false", "action Reading Tavik...", "actionVisible true"};
        QStringList progress{"0.000"};
        for (int relay = 1; relay <= 16; ++relay) {
            calls << QStringLiteral("action %1 relay %2").arg(read ? "Reading" : "Programming").arg(relay)
                  << (read ? "action Relay read" : "action Relay programmed");
            // The program dialogue empties the bar when it succeeds, so the count starts again.
            progress << QString::number(2 * relay - 1) + ".000";
            progress << (read ? QStringList{QString::number(2 * relay % 32) + ".000"} : QStringList{"0.000", "1.000"});
        }
        if (sayFinished)
            calls << (read ? "action Finished reading all" : "action Finished programming all");
        calls << "enable true";
        QCOMPARE(rig.view.calls({"enable", "action", "actionVisible"}), calls);
        QCOMPARE(progressValues(rig.view, true), progress);
    }

    void aWholeTableCommandStopsAtTheFirstRelayThatFails_data()
    {
        QTest::addColumn<bool>("read");
        QTest::newRow("read all") << true;
        QTest::newRow("program all") << false;
    }
    void aWholeTableCommandStopsAtTheFirstRelayThatFails()
    {
        QFETCH(bool, read);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.dialogues.setPauses({0, 0});
        RelayConfig marker;
        marker.RelayMode = 3;
        rig.table.fill(marker);
        rig.device.setFaults(wrongEcho('5', -1)); // relay 5 never gets past its number
        const BulkOutcome outcome =
            read ? rig.commands.readAll(AllEnding::SayFinished) : rig.commands.programAll(AllEnding::SayFinished);
        QCOMPARE(outcome.result, DialogueResult::GaveUp);
        QCOMPARE(outcome.relayIndex, 4);
        for (int index = 0; index < RelayCount; ++index) {
            const int mode = read ? rig.table[size_t(index)].RelayMode : rig.device.relay(index).mode - 1;
            QCOMPARE(mode, index < 4 ? (read ? 0 : 3) : (read ? 3 : 0));
        }
        QVERIFY(!rig.device.received().contains(read ? "r6" : "p6"));
        QVERIFY(!rig.view.actionVisible);
        QCOMPARE(rig.view.progressValue(), 0.0);
        QVERIFY(rig.view.readProgEnabled);
    }

    void aSingleRelayCommandDisablesTheControlsAroundItsDialogue_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("read the relay shown, 12") << 0 << QByteArray("r12\r");
        QTest::newRow("program the relay shown, 12: stays enabled") << 1 << QByteArray("p12\r");
        QTest::newRow("read relay 4") << 2 << QByteArray("r4\r");
        QTest::newRow("program relay 4") << 3 << QByteArray("p4\r");
    }
    void aSingleRelayCommandDisablesTheControlsAroundItsDialogue()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, wire);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(11);
        bool enabledDuringDialogue = false;
        QTimer probe; // looks at the controls while the dialogue waits for the device
        QObject::connect(&probe, &QTimer::timeout, [&] { enabledDuringDialogue |= rig.view.readProgEnabled; });
        probe.start(10);
        DeviceCommands &c = rig.commands;
        const DialogueResult result = command == 0   ? c.readShownRelay()
                                      : command == 1 ? c.programShownRelay()
                                      : command == 2 ? c.readRelay(3)
                                                     : c.programRelay(3);
        QCOMPARE(result, DialogueResult::Done);
        QVERIFY(rig.device.received().startsWith(wire));
        QCOMPARE(enabledDuringDialogue, command == 1);
        const QStringList enabling = command == 1 ? QStringList() : QStringList{"enable false", "enable true"};
        QCOMPARE(rig.view.calls({"enable"}), enabling);
    }
};

QTEST_GUILESS_MAIN(TestDialogues)
#include "tst_dialogues.moc"
