#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(LiveOutcome)

// The PC-control, latch and momentary dialogues against the simulated device.
class TestLiveCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    enum Command { PCControlOn, PCControlOff, Latch, Moment };

    static LiveOutcome run(DialogueRig &rig, int command)
    {
        switch (command) {
        case PCControlOn:
            return rig.dialogues.setPCControl(true);
        case PCControlOff:
            return rig.dialogues.setPCControl(false);
        case Latch:
            return rig.dialogues.latchInput();
        default:
            return rig.dialogues.pulseInput();
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void init() { QFile::remove(logPath()); }

    void eachCommandSendsOnlyWhenItsConditionHolds_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("pcControlBefore");
        QTest::addColumn<LiveOutcome>("outcome");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<bool>("pcControlAfter");
        QTest::newRow("latch under PC control")
            << int(Latch) << true << LiveOutcome::Succeeded << QByteArray("\x1bl3\r") << true;
        QTest::newRow("momentary under PC control")
            << int(Moment) << true << LiveOutcome::Succeeded << QByteArray("\x1bm3\r") << true;
        QTest::newRow("momentary without PC control")
            << int(Moment) << false << LiveOutcome::NotSent << QByteArray() << false;
        QTest::newRow("latch without PC control")
            << int(Latch) << false << LiveOutcome::NotSent << QByteArray() << false;
        QTest::newRow("PC control switched on") << int(PCControlOn) << false << LiveOutcome::Succeeded
                                                << QByteArray("\x1b"
                                                              "c3\r")
                                                << true;
        QTest::newRow("PC control switched off") << int(PCControlOff) << true << LiveOutcome::Succeeded
                                                 << QByteArray("\x1b"
                                                               "c3\r")
                                                 << false;
        QTest::newRow("box agrees with the record already")
            << int(PCControlOn) << true << LiveOutcome::NotSent << QByteArray() << true;
    }
    void eachCommandSendsOnlyWhenItsConditionHolds()
    {
        QFETCH(int, command);
        QFETCH(bool, pcControlBefore);
        QFETCH(LiveOutcome, outcome);
        QFETCH(QByteArray, wire);
        QFETCH(bool, pcControlAfter);
        DialogueRig rig;
        QVERIFY(rig.start());
        SimRelay onDevice;
        onDevice.pcControl = pcControlBefore;
        rig.device.setRelay(2, onDevice);
        rig.view.setShownRelay(2);
        rig.table[2].PCControl = pcControlBefore;
        QCOMPARE(run(rig, command), outcome);
        QTest::qWait(50);
        QCOMPARE(rig.device.received(), wire);
        QCOMPARE(rig.table[2].PCControl, pcControlAfter);
        QCOMPARE(rig.device.relay(2).pcControl, pcControlAfter);
        QVERIFY(!rig.link.port().isOpen());
        QVERIFY(rig.view.calls().isEmpty());
        QVERIFY(loggedFailures(logPath()).isEmpty());
    }

    void aSilentDeviceLeavesPCControlAsItWas()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(0);
        rig.table[0].PCControl = true;
        rig.misbehave([](SimFaults &f) { f.silent = true; });
        QCOMPARE(rig.dialogues.setPCControl(false), LiveOutcome::Failed);
        QVERIFY(rig.table[0].PCControl);
        QCOMPARE(
            rig.view.statusText,
            QStringLiteral(
                "Could not communicate with Tavik. Please check COM settings, power, and signal cables."));
        QVERIFY(!rig.link.port().isOpen());
    }

    void aWrongEchoOfTheRelayNumberStartsAgainWithEscape()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(2);
        rig.misbehave([](SimFaults &f) {
            f.wrongEchoFor = '3';
            f.wrongEchoTimes = 1;
        });
        QCOMPARE(rig.dialogues.setPCControl(true), LiveOutcome::Succeeded);
        QCOMPARE(rig.device.received(), QByteArray("\x1b"
                                                   "c3\x1b"
                                                   "c3\r"));
        QVERIFY(rig.table[2].PCControl);
    }

    void aDeviceThatKeepsEchoingWronglyIsGivenUp()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(5);
        rig.table[5].PCControl = true;
        rig.misbehave([](SimFaults &f) {
            f.wrongEchoFor = 'l';
            f.wrongEchoTimes = -1;
        });
        QCOMPARE(rig.dialogues.latchInput(), LiveOutcome::Failed);
        QCOMPARE(rig.device.received(), QByteArray("\x1bl").repeated(9));
        QCOMPARE(rig.view.statusText,
                 QStringLiteral("Tavik keeps answering unexpectedly; gave up after 8 retries."));
        const QStringList failures = loggedFailures(logPath());
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.at(0).contains(QStringLiteral("in procedure latchInput of Form frmMain")));
    }

    void aPortOpenBeforeTheCommandStaysOpen()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(0);
        QCOMPARE(rig.link.port().OpenSerPort(), 1);
        QCOMPARE(rig.dialogues.pulseInput(), LiveOutcome::NotSent);
        QVERIFY(rig.link.port().isOpen());
        QCOMPARE(rig.dialogues.setPCControl(true), LiveOutcome::Succeeded);
        QVERIFY(rig.link.port().isOpen());
        rig.link.port().CloseSerPort();
    }
};

QTEST_GUILESS_MAIN(TestLiveCommands)
#include "tst_livecommands.moc"
