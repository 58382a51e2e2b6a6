#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(RelayConfig)
Q_DECLARE_METATYPE(SimFaults)

// The program dialogue against the simulated device, through the real port.
class TestProgramRelay : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    // Inputs from a string listing input 11 first.
    static std::array<bool, InputCount> map(const char *inputs11to0)
    {
        std::array<bool, InputCount> result{};
        for (int input = 0; input < InputCount; ++input)
            result[input] = inputs11to0[11 - input] == '1';
        return result;
    }

    static RelayConfig relay(qint16 mode, qint16 gate, const char *inputs)
    {
        RelayConfig config;
        config.RelayMode = mode;
        config.InputMode = gate;
        config.InputMap = map(inputs);
        return config;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void init() { QFile::remove(logPath()); }

    void theAnswersFollowTheRelayMode_data()
    {
        QTest::addColumn<int>("relayIndex");
        QTest::addColumn<RelayConfig>("config");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QStringList>("progress");

        QTest::newRow("Toggle takes no time and no unlatch set")
            << 4 << relay(1, 7, "000000001111") << QByteArray("p5\r2\r15\r0\r0\r11\ry")
            << QStringList{"3.583", "4.583", "5.583", "6.583", "6.583", "6.583", "7.583", "0.000"};

        RelayConfig latching = relay(9, 4, "001000000000");
        latching.UnlatchMap = map("100000000011");
        latching.UnlatchInputMode = 3;
        latching.Hours = 9; // not sent for Latching
        QTest::newRow("Latching is sent as 10 with its unlatch set")
            << 15 << latching << QByteArray("p16\r10\r0\r0\r2\r8\r3\r0\r8\r3\ry")
            << QStringList{"3.583", "4.583", "5.583", "6.583", "6.583", "6.583",
                           "7.583", "8.583", "8.583", "8.583", "9.583", "0.000"};

        RelayConfig timed = relay(2, 5, "000000000000");
        timed.Hours = 0;
        timed.Minutes = 12;
        timed.Seconds = 3;
        timed.Hundredths = 50;
        timed.UnlatchMap = map("111111111111"); // not sent for a timed relay
        QTest::newRow("a timed relay sends hours, minutes, seconds and hundredths")
            << 0 << timed << QByteArray("p1\r3\r0\r0\r0\r9\r0\r12\r3\r50\ry")
            << QStringList{"3.583",  "4.583",  "5.583",  "6.583",  "6.583",  "6.583", "7.583",
                           "10.583", "11.583", "12.583", "13.583", "31.000", "0.000"};
    }
    void theAnswersFollowTheRelayMode()
    {
        QFETCH(int, relayIndex);
        QFETCH(RelayConfig, config);
        QFETCH(QByteArray, wire);
        QFETCH(QStringList, progress);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.table[relayIndex] = config;
        const RelayTable before = rig.table;
        QCOMPARE(rig.dialogues.ProgramRelay(qint16(relayIndex)), 0);
        QCOMPARE(rig.device.received(), wire);
        QStringList values;
        for (const QString &call : rig.view.calls({QStringLiteral("progress")}))
            values << call.section(u' ', 1);
        QCOMPARE(values, progress);
        QCOMPARE(rig.view.actionText, QStringLiteral("Relay programmed"));
        QCOMPARE(rig.table, before);
        QVERIFY(!rig.link.port().isOpen());
    }

    void aWrongEchoStartsAgainFromTheCommandWithAnEmptyRing_data()
    {
        QTest::addColumn<char>("wrongEchoFor");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("echo of p") << 'p' << QByteArray("p\x1bp3\r2\r0\r0\r0\r0\ry");
        QTest::newRow("echo of the answer y")
            << 'y' << QByteArray("p3\r2\r0\r0\r0\r0\ry\x1bp3\r2\r0\r0\r0\r0\ry");
    }
    void aWrongEchoStartsAgainFromTheCommandWithAnEmptyRing()
    {
        QFETCH(char, wrongEchoFor);
        QFETCH(QByteArray, wire);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.table[2] = relay(1, 0, "000000000000");
        rig.misbehave([&](SimFaults &f) {
            f.wrongEchoFor = wrongEchoFor;
            f.wrongEchoTimes = 1;
        });
        QCOMPARE(rig.dialogues.ProgramRelay(2), 0);
        QCOMPARE(rig.device.received(), wire);
        QCOMPARE(rig.device.relay(2).mode, 2);
    }

    void aDeviceThatKeepsEchoingWronglyIsGivenUpAfterEightRetries()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.misbehave([](SimFaults &f) {
            f.wrongEchoFor = 'p';
            f.wrongEchoTimes = -1;
        });
        QCOMPARE(rig.dialogues.ProgramRelay(0), 7);
        QCOMPARE(rig.device.received(), QByteArray("p") + QByteArray("\x1bp").repeated(8));
        QCOMPARE(rig.view.statusText,
                 QStringLiteral("Tavik keeps answering unexpectedly; gave up after 8 retries."));
        const QStringList failures = loggedFailures(logPath());
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.at(0).contains(QStringLiteral("in procedure ProgramRelay of Form frmMain")));
    }

    void failuresEndWithTheirCodeAndLeaveTheActionAlone_data()
    {
        QTest::addColumn<SimFaults>("faults");
        QTest::addColumn<int>("result");
        SimFaults silent;
        silent.silent = true;
        QTest::newRow("silent device") << silent << 3;
        SimFaults noPrompt;
        noPrompt.silentAfterOutput = 1; // echoes "p", never prints the prompt
        QTest::newRow("no relay number prompt") << noPrompt << 3;
        SimFaults flood;
        flood.flood = true;
        QTest::newRow("flooded line") << flood << 4;
    }
    void failuresEndWithTheirCodeAndLeaveTheActionAlone()
    {
        QFETCH(SimFaults, faults);
        QFETCH(int, result);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.device.setFaults(faults);
        QCOMPARE(rig.dialogues.ProgramRelay(0), result);
        QCOMPARE(rig.view.actionText, QStringLiteral("Waiting for command..."));
        QVERIFY(!rig.link.port().isOpen());
    }

    void aPortOpenBeforeTheCallStaysOpen()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        QCOMPARE(rig.link.port().OpenSerPort(), 1);
        QCOMPARE(rig.dialogues.ProgramRelay(0), 0);
        QVERIFY(rig.link.port().isOpen());
        rig.misbehave([](SimFaults &f) { f.silent = true; });
        QCOMPARE(rig.dialogues.ProgramRelay(0), 3);
        QVERIFY(rig.link.port().isOpen());
        rig.link.port().CloseSerPort();
    }

    void randomTablesSurviveProgramAllThenReadAll()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        QRandomGenerator random(20261206);
        for (int round = 0; round < 2; ++round) {
            RelayTable written{};
            for (RelayConfig &config : written) {
                config.RelayMode = qint16(random.bounded(10));
                config.InputMode = qint16(random.bounded(8));
                config.UnlatchInputMode = qint16(random.bounded(8));
                for (int input = 0; input < InputCount; ++input) {
                    config.InputMap[input] = random.bounded(2) == 1;
                    config.UnlatchMap[input] = random.bounded(2) == 1;
                }
                config.Counter = qint32(random.bounded(16560000));
                CounterToTime(config);
            }
            rig.table = written;
            QVERIFY(rig.commands.programAll(AllEnding::SayFinished).succeeded());
            rig.table = RelayTable{};
            QVERIFY(rig.commands.readAll(AllEnding::SayFinished).succeeded());
            for (int index = 0; index < RelayCount; ++index) {
                const RelayConfig &w = written[index];
                const RelayConfig &r = rig.table[index];
                const QByteArray which = "relay " + QByteArray::number(index + 1);
                QVERIFY2(r.RelayMode == w.RelayMode, which);
                QVERIFY2(r.InputMode == w.InputMode, which);
                QVERIFY2(r.InputMap == w.InputMap, which);
                if (w.RelayMode == 9) {
                    QVERIFY2(r.UnlatchInputMode == w.UnlatchInputMode, which);
                    QVERIFY2(r.UnlatchMap == w.UnlatchMap, which);
                }
                if (w.RelayMode >= 2 && w.RelayMode <= 8)
                    QVERIFY2(r.Counter == w.Counter, which);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestProgramRelay)
#include "tst_programrelay.moc"
