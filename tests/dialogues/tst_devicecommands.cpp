#include "cputime.h"
#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QTemporaryDir>
#include <QtTest>

// The read and program commands: which relays, the action texts, the
// progress bar and the enabling of the controls around them.
class TestDeviceCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QStringList progressValues(const RecordingView &view)
    {
        QStringList values;
        for (const QString &call : view.calls({QStringLiteral("progress")}))
            values << call.section(u' ', 1);
        return values;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
    }

    void readAllNamesEachRelayAndCountsTheProgressRound_data()
    {
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("finalAction");
        QTest::newRow("button") << true << "Finished reading all";
        QTest::newRow("menu") << false << "Relay read";
    }
    void readAllNamesEachRelayAndCountsTheProgressRound()
    {
        QFETCH(bool, button);
        QFETCH(QString, finalAction);
        DialogueRig rig;
        QVERIFY(rig.start());
        const BulkOutcome outcome =
            button ? rig.commands.readAll(AllEnding::SayFinished) : rig.commands.readAll(AllEnding::Quiet);
        QVERIFY(outcome.succeeded());
        QCOMPARE(outcome.relayIndex, -1);

        QStringList actions{"action Reading Tavik..."};
        QStringList progress{"0.000"};
        for (int relay = 1; relay <= 16; ++relay) {
            actions << QStringLiteral("action Reading relay %1").arg(relay)
                    << QStringLiteral("action Relay read");
            progress << QStringLiteral("%1.000").arg(2 * relay - 1)
                     << QStringLiteral("%1.000").arg(2 * relay % 32);
        }
        if (button)
            actions << QStringLiteral("action ") + finalAction;
        QCOMPARE(rig.view.calls({QStringLiteral("action")}), actions);
        QCOMPARE(progressValues(rig.view), progress);
        QCOMPARE(rig.view.actionText, finalAction);
        QCOMPARE(rig.view.calls({QStringLiteral("enable")}), (QStringList{"enable false", "enable true"}));
        QCOMPARE(rig.view.calls().first(), QStringLiteral("enable false"));
        QCOMPARE(rig.view.calls().last(), QStringLiteral("enable true"));
        QVERIFY(rig.view.actionVisible);
        QCOMPARE(rig.view.progressValue(), 0.0);
    }

    void programAllEndsWithTheBarAtOne_data()
    {
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("finalAction");
        QTest::newRow("button") << true << "Finished programming all";
        QTest::newRow("menu") << false << "Relay programmed";
    }
    void programAllEndsWithTheBarAtOne()
    {
        QFETCH(bool, button);
        QFETCH(QString, finalAction);
        DialogueRig rig;
        QVERIFY(rig.start());
        const BulkOutcome outcome = button ? rig.commands.programAll(AllEnding::SayFinished) : rig.commands.programAll(AllEnding::Quiet);
        QVERIFY(outcome.succeeded());
        QCOMPARE(rig.view.actionText, finalAction);
        QCOMPARE(rig.view.progressValue(), 1.0);
        QStringList relayActions =
            rig.view.calls({QStringLiteral("action")}).filter(QStringLiteral("Programming"));
        QCOMPARE(relayActions.size(), 16);
        QCOMPARE(relayActions.first(), QStringLiteral("action Programming relay 1"));
        QCOMPARE(relayActions.last(), QStringLiteral("action Programming relay 16"));
        QCOMPARE(rig.view.calls().first(), QStringLiteral("enable false"));
        QCOMPARE(rig.view.calls().last(), QStringLiteral("enable true"));
        // Before relay 2 the bar stood at 1, then showed 2 x 1 + 1 = 3.
        const QStringList progress = progressValues(rig.view);
        const qsizetype secondRelay = progress.indexOf(QStringLiteral("3.000"));
        QVERIFY(secondRelay > 0);
        QCOMPARE(progress.at(secondRelay - 1), QStringLiteral("1.000"));
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
        RelayConfig marker;
        marker.RelayMode = 3;
        marker.Counter = 4242;
        rig.table.fill(marker);
        // Relay 5 never gets past its number.
        rig.misbehave([](SimFaults &f) {
            f.wrongEchoFor = '5';
            f.wrongEchoTimes = -1;
        });
        const BulkOutcome outcome = read ? rig.commands.readAll(AllEnding::SayFinished) : rig.commands.programAll(AllEnding::SayFinished);
        QCOMPARE(outcome.result, 7);
        QCOMPARE(outcome.relayIndex, 4);
        const QByteArray wire = rig.device.received();
        const char command = read ? 'r' : 'p';
        for (int relay = 1; relay <= 4; ++relay)
            QVERIFY(wire.contains(QByteArray(1, command) + QByteArray::number(relay) + '\r'));
        for (int relay = 6; relay <= 16; ++relay)
            QVERIFY(!wire.contains(QByteArray(1, command) + QByteArray::number(relay)));
        if (read) {
            for (int index = 0; index < 4; ++index)
                QCOMPARE(rig.table[index].RelayMode, 0);
            for (int index = 5; index < 16; ++index)
                QCOMPARE(rig.table[index], marker);
        } else {
            for (int index = 0; index < 4; ++index)
                QCOMPARE(rig.device.relay(index).mode, 4);
            for (int index = 5; index < 16; ++index)
                QCOMPARE(rig.device.relay(index).mode, 1);
        }
        QVERIFY(!rig.view.actionVisible);
        QCOMPARE(rig.view.progressValue(), 0.0);
        QCOMPARE(rig.view.actionText,
                 read ? QStringLiteral("Finished reading all") : QStringLiteral("Finished programming all"));
        QVERIFY(rig.view.readProgEnabled);
        QCOMPARE(rig.view.calls({QStringLiteral("actionVisible")}),
                 (QStringList{"actionVisible true", "actionVisible false"}));
    }

    void aLineThatHangsUpAtRelay5StopsReadAllThereWithThePortClosed()
    {
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        RelayConfig marker;
        marker.RelayMode = 3;
        rig.table.fill(marker);
        // Pulls the plug as soon as the command turns to relay 5.
        QTimer plug;
        QObject::connect(&plug, &QTimer::timeout, [&] {
            if (rig.view.actionText == QStringLiteral("Reading relay 5")) {
                rig.device.hangUp();
                plug.stop();
            }
        });
        plug.start(1);
        const double cpuBefore = processCpuMilliseconds();
        const BulkOutcome outcome = rig.commands.readAll(AllEnding::SayFinished);
        const double cpuUsed = processCpuMilliseconds() - cpuBefore;
        QCOMPARE(outcome.result, 3);
        QCOMPARE(outcome.relayIndex, 4);
        QVERIFY(!rig.link.port().isOpen());
        QCOMPARE(
            rig.view.statusText,
            QStringLiteral("The connection to Tavik was lost. Please check the cable and the COM port."));
        for (int index = 0; index < 4; ++index)
            QCOMPARE(rig.table[index].RelayMode, 0);
        for (int index = 5; index < 16; ++index)
            QCOMPARE(rig.table[index], marker);
        QVERIFY(!rig.view.actionVisible);
        QCOMPARE(rig.view.progressValue(), 0.0);
        QVERIFY(rig.view.readProgEnabled);
        QVERIFY2(cpuUsed < 3000, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
    }

    void singleRelayCommandsActOnTheirRelay_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QStringList>("enabling");
        QTest::newRow("Read Relay button, relay 12 shown")
            << 0 << QByteArray("r12\r") << QStringList{"enable false", "enable true"};
        QTest::newRow("Program Relay button, relay 12 shown") << 1 << QByteArray("p12\r") << QStringList{};
        QTest::newRow("Edit > Read > Relay 4")
            << 2 << QByteArray("r4\r") << QStringList{"enable false", "enable true"};
        QTest::newRow("Edit > Program > Relay 4")
            << 3 << QByteArray("p4\r") << QStringList{"enable false", "enable true"};
    }
    void singleRelayCommandsActOnTheirRelay()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, wire);
        QFETCH(QStringList, enabling);
        DialogueRig rig;
        QVERIFY(rig.start());
        rig.view.setShownRelay(11);
        bool enabledDuringDialogue = false;
        // Looks at the controls while the dialogue waits for the device.
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout,
                         [&] { enabledDuringDialogue |= rig.view.readProgEnabled; });
        probe.start(10);
        qint16 result = -1;
        switch (command) {
        case 0:
            result = rig.commands.readShownRelay();
            break;
        case 1:
            result = rig.commands.programShownRelay();
            break;
        case 2:
            result = rig.commands.readRelay(3);
            break;
        default:
            result = rig.commands.programRelay(3);
            break;
        }
        probe.stop();
        QCOMPARE(result, 0);
        QVERIFY(rig.device.received().startsWith(wire));
        QCOMPARE(rig.view.calls({QStringLiteral("enable")}), enabling);
        QCOMPARE(enabledDuringDialogue, enabling.isEmpty());
        QVERIFY(rig.view.calls({QStringLiteral("actionVisible")}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
