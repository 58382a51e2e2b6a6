#include "cputime.h"
#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SimRelay)

// The read dialogue against the simulated device, through the real port.
class TestReadRelay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    static SimRelay latchingRelay()
    {
        SimRelay relay;
        relay.mode = 10;
        relay.gate = 9;             // NAND
        relay.map = 0b100000000001; // inputs 11 and 0
        relay.unlatchGate = 11;     // NIL
        relay.unlatchMap = 0b000000110000;
        relay.counter = 0x1A2B;
        relay.closed = true;
        relay.pcControl = true;
        return relay;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void init() { QFile::remove(logPath()); }

    void eachKindOfRelayIsReadIntoItsRecord_data()
    {
        QTest::addColumn<SimRelay>("device");
        QTest::addColumn<int>("relayMode");
        QTest::addColumn<int>("inputMode");
        QTest::addColumn<int>("unlatchInputMode");
        QTest::addColumn<QString>("inputMap");   // input 11 first
        QTest::addColumn<QString>("unlatchMap"); // input 11 first
        QTest::addColumn<int>("counter");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("pcControl");

        SimRelay toggle;
        toggle.mode = 2;
        toggle.gate = 8; // NOR
        toggle.map = 0b000000001111;
        QTest::newRow("Toggle, NOR") << toggle << 1 << 4 << 0 << "000000001111"
                                     << "000000000000" << 0 << false << false;
        SimRelay timed;
        timed.mode = 8;  // Max-Time
        timed.gate = 10; // NXOR
        timed.map = 0b001000000000;
        timed.counter = 16559999;
        timed.closed = true;
        QTest::newRow("Max-Time, longest time") << timed << 7 << 6 << 0 << "001000000000"
                                                << "000000000000" << 16559999 << true << false;
        QTest::newRow("Latching, both sides") << latchingRelay() << 9 << 5 << 7 << "100000000001"
                                              << "000000110000" << 6699 << true << true;
    }
    void eachKindOfRelayIsReadIntoItsRecord()
    {
        QFETCH(SimRelay, device);
        QFETCH(int, relayMode);
        QFETCH(int, inputMode);
        QFETCH(int, unlatchInputMode);
        QFETCH(QString, inputMap);
        QFETCH(QString, unlatchMap);
        QFETCH(int, counter);
        QFETCH(bool, closed);
        QFETCH(bool, pcControl);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(4, device);
        rig.view.setShownRelay(0);
        QCOMPARE(rig.dialogues.ReadRelay(4), 0);
        QCOMPARE(rig.device.received(), QByteArray("r5\r"));
        const RelayConfig &relay = rig.table[4];
        QCOMPARE(relay.RelayMode, relayMode);
        QCOMPARE(relay.InputMode, inputMode);
        QCOMPARE(relay.UnlatchInputMode, unlatchInputMode);
        for (int input = 0; input < 12; ++input) {
            QCOMPARE(relay.InputMap[input], inputMap.at(11 - input) == u'1');
            QCOMPARE(relay.UnlatchMap[input], unlatchMap.at(11 - input) == u'1');
        }
        QCOMPARE(relay.Counter, counter);
        QCOMPARE(qint32(relay.Hours) * 360000 + relay.Minutes * 6000 + relay.Seconds * 100 + relay.Hundredths,
                 counter);
        QCOMPARE(relay.Closed, closed);
        QCOMPARE(relay.PCControl, pcControl);
        QCOMPARE(rig.view.actionText, QStringLiteral("Relay read"));
        QVERIFY(!rig.link.port().isOpen());
        QVERIFY(rig.view.editorCalls().isEmpty());
    }

    void bannersAndOutputInSmallPiecesDoNotDisturbTheRead()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(11, latchingRelay());
        rig.misbehave([](SimFaults &f) {
            f.banners = true;
            f.chunkSize = 3;
            f.chunkDelayMs = 2;
        });
        QCOMPARE(rig.dialogues.ReadRelay(11), 0);
        QCOMPARE(rig.device.received(), QByteArray("r12\r"));
        QCOMPARE(rig.table[11].UnlatchInputMode, 7);
        QCOMPARE(rig.table[11].Counter, 6699);
    }

    void theShownRelayUpdatesTheEditorAsEachValueArrives()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(2, latchingRelay());
        rig.view.setShownRelay(2);
        QCOMPARE(rig.dialogues.ReadRelay(2), 0);
        // The latching side is shown, so the unlatch gate and map stay off the editor.
        QCOMPARE(rig.view.editorCalls(),
                 (QStringList{"relayMode 9", "inputMode 5", "input 11 in", "input 0 in",
                              "closureTime 0 1 6.99", "pcControl true"}));
        QCOMPARE(rig.view.statusText, QString());
    }

    void theUnlatchingSideReachesTheEditorOnlyWhenItIsShown()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(2, latchingRelay());
        rig.view.setShownRelay(2);
        rig.table[2].ShowUnlatch = true;
        QCOMPARE(rig.dialogues.ReadRelay(2), 0);
        QCOMPARE(rig.view.editorCalls(),
                 (QStringList{"relayMode 9", "inputMode 7", "input 5 in", "input 4 in",
                              "closureTime 0 1 6.99", "pcControl true"}));
    }

    void theEditorIsLeftAloneWhereItAlreadyAgrees()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        SimRelay momentary; // Momentary, OR, no inputs, Open, not under PC control
        rig.device.setRelay(0, momentary);
        rig.view.setShownRelay(0);
        QCOMPARE(rig.dialogues.ReadRelay(0), 0);
        QCOMPARE(rig.view.editorCalls(), (QStringList{"closureTime 0 0 0.00", "pcControl false"}));
    }

    void aClearedMaskBitLeavesItsValueAsItWas_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("mode only") << 1;
        QTest::newRow("all but the mode") << (-1 & ~1);
        QTest::newRow("nothing") << 0;
    }
    void aClearedMaskBitLeavesItsValueAsItWas()
    {
        QFETCH(int, mask);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(6, latchingRelay());
        RelayConfig before;
        before.RelayMode = 9; // so that the unlatch lines are awaited whatever the mask
        before.InputMode = 3;
        before.InputMap.fill(true);
        before.Counter = 77;
        before.PCControl = false;
        rig.table[6] = before;
        QCOMPARE(rig.dialogues.ReadRelay(6, qint16(mask)), 0);
        const RelayConfig &after = rig.table[6];
        QCOMPARE(after.InputMode == 5, bool(mask & 2));
        QCOMPARE(after.UnlatchInputMode == 7, bool(mask & 2));
        QCOMPARE(after.InputMap[1], !(mask & 4));
        QCOMPARE(after.Counter == 6699, bool(mask & 8));
        QCOMPARE(after.Closed, bool(mask & 16));
        QCOMPARE(after.PCControl, bool(mask & 32));
    }

    void aWrongEchoOrAShortMapLineStartsAgainAfterEscape_data()
    {
        QTest::addColumn<char>("wrongEchoFor");
        QTest::addColumn<int>("shortMaps");
        QTest::addColumn<QByteArray>("received");
        QTest::newRow("wrong echo of r") << 'r' << 0 << QByteArray("r\x1br5\r");
        QTest::newRow("wrong echo of the digit") << '5' << 0 << QByteArray("r5\x1br5\r");
        QTest::newRow("short map line") << char(0) << 1 << QByteArray("r5\r\x1br5\r");
    }
    void aWrongEchoOrAShortMapLineStartsAgainAfterEscape()
    {
        QFETCH(char, wrongEchoFor);
        QFETCH(int, shortMaps);
        QFETCH(QByteArray, received);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setRelay(4, latchingRelay());
        rig.misbehave([&](SimFaults &f) {
            f.wrongEchoFor = wrongEchoFor;
            f.wrongEchoTimes = 1;
            f.shortMapTimes = shortMaps;
        });
        QCOMPARE(rig.dialogues.ReadRelay(4), 0);
        QCOMPARE(rig.device.received(), received);
        QCOMPARE(rig.table[4].UnlatchInputMode, 7);
    }

    void eightRestartsAreAllowedAndTheNinthGivesUp_data()
    {
        QTest::addColumn<int>("wrongEchoes");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("attempts");
        QTest::newRow("eight wrong echoes") << 8 << 0 << 9;
        QTest::newRow("endless wrong echoes") << -1 << 7 << 9;
    }
    void eightRestartsAreAllowedAndTheNinthGivesUp()
    {
        QFETCH(int, wrongEchoes);
        QFETCH(int, result);
        QFETCH(int, attempts);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.misbehave([&](SimFaults &f) {
            f.wrongEchoFor = 'r';
            f.wrongEchoTimes = wrongEchoes;
        });
        QCOMPARE(rig.dialogues.ReadRelay(0), result);
        QCOMPARE(rig.device.received().count('r'), attempts);
        QCOMPARE(rig.device.received().count('\x1b'), 8);
        const QStringList failures = loggedFailures(logPath());
        if (result == 7) {
            QCOMPARE(rig.view.statusText,
                     QStringLiteral("Tavik keeps answering unexpectedly; gave up after 8 retries."));
            QCOMPARE(failures.size(), 1);
            QVERIFY(failures.at(0).contains(QStringLiteral("Error 3001 (")));
            QVERIFY(failures.at(0).contains(QStringLiteral("in procedure ReadRelay of Form frmMain")));
        } else {
            QVERIFY(failures.isEmpty());
        }
        QVERIFY(!rig.link.port().isOpen());
    }

    void aDeviceThatStopsAnsweringEndsTheReadWith3_data()
    {
        QTest::addColumn<qint64>("silentAfter");
        QTest::addColumn<bool>("statusText");
        QTest::newRow("silent from the start: no echo of r") << qint64(0) << true;
        QTest::newRow("silent after the relay mode: a label is missing") << qint64(40) << false;
    }
    void aDeviceThatStopsAnsweringEndsTheReadWith3()
    {
        QFETCH(qint64, silentAfter);
        QFETCH(bool, statusText);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.misbehave([&](SimFaults &f) { f.silentAfterOutput = silentAfter; });
        QCOMPARE(rig.dialogues.ReadRelay(0), 3);
        QCOMPARE(rig.view.statusText.isEmpty(), !statusText);
        if (statusText)
            QCOMPARE(rig.view.statusText, QStringLiteral("Could not communicate with Tavik. Please check COM "
                                                         "settings, power, and signal cables."));
        QCOMPARE(rig.view.actionText, QStringLiteral("Waiting for command..."));
        QVERIFY(!rig.link.port().isOpen());
    }

    void aFloodedLineEndsTheReadWith4()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.misbehave([](SimFaults &f) { f.flood = true; });
        // A flood that outruns the discarding piles up in the port first; one
        // that the discarding keeps up with is only noise before the echo.
        QCOMPARE(rig.link.port().OpenSerPort(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(rig.link.ring().RxCount() + rig.link.port().waiting() > 2000, 5000);
        QCOMPARE(rig.dialogues.ReadRelay(0), 4);
        QVERIFY(rig.device.received().isEmpty());
        rig.link.port().CloseSerPort();
    }

    void aPortOpenBeforeTheCallStaysOpen_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("result");
        QTest::newRow("after success") << false << 0;
        QTest::newRow("after failure") << true << 3;
    }
    void aPortOpenBeforeTheCallStaysOpen()
    {
        QFETCH(bool, silent);
        QFETCH(int, result);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.misbehave([&](SimFaults &f) { f.silent = silent; });
        QCOMPARE(rig.link.port().OpenSerPort(), 1);
        QCOMPARE(rig.dialogues.ReadRelay(0), result);
        QVERIFY(rig.link.port().isOpen());
        rig.link.port().CloseSerPort();
    }

    void aRelayIndexOutsideTheTableSendsNothing()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        QCOMPARE(rig.dialogues.ReadRelay(16), 1);
        QTest::qWait(100);
        QVERIFY(rig.device.received().isEmpty());
        QCOMPARE(loggedFailures(logPath()).size(), 1);
    }

    void aHangUpMidReadClosesThePortAndSaysSoWithoutACpuStorm()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        rig.device.setRelay(0, latchingRelay());
        rig.misbehave([](SimFaults &f) { f.hangUpAfterOutput = 40; });
        const double cpuBefore = processCpuMilliseconds();
        QCOMPARE(rig.dialogues.ReadRelay(0), 3);
        const double cpuUsed = processCpuMilliseconds() - cpuBefore;
        QVERIFY(!rig.link.port().isOpen());
        QVERIFY(rig.link.port().lineLost());
        QCOMPARE(
            rig.view.statusText,
            QStringLiteral("The connection to Tavik was lost. Please check the cable and the COM port."));
        const QStringList failures = loggedFailures(logPath());
        QCOMPARE(failures.filter(QStringLiteral("Error 1005 (")).size(), 1);
        QVERIFY2(cpuUsed < 1500, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
    }
};

QTEST_GUILESS_MAIN(TestReadRelay)
#include "tst_readrelay.moc"
