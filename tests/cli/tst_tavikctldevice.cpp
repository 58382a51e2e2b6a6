// Runs the built tavikctl against the simulated device, through its port or
// as the built-in device, and checks what reaches the device and the files.
#include "config/relayconfig.h"
#include "config/tavikfile.h"
#include "taviksimulator.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

#include <memory>

namespace
{

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;
    double cpuMs = 0;
};

double childrenCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// A table that exercises every part of a relay: each mode, gates from both
// halves of the code table, scattered maps, timed relays with long and odd
// times, and Latching relays with their unlatch side.
RelayTable sampleTable()
{
    RelayTable table{};
    for (int index = 0; index < RelayCount; ++index) {
        RelayConfig &relay = table[size_t(index)];
        relay.RelayMode = qint16(index % RelayModeCount);
        relay.InputMode = qint16((index * 3) % InputModeCount);
        for (int input = 0; input < InputCount; ++input) {
            relay.InputMap[size_t(input)] = ((input * 7 + index) % 5) < 2;
            relay.UnlatchMap[size_t(input)] = ((input + index) % 3) == 0;
        }
        if (isLatchingMode(relay.RelayMode))
            relay.UnlatchInputMode = qint16((index + 5) % InputModeCount);
        if (isTimedMode(relay.RelayMode))
            relay.Counter = index == 4 ? 16559999 : 6699 * (index + 1);
        CounterToTime(relay);
    }
    return table;
}

} // namespace

class TestTavikctlDevice : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TavikSimulator> m_device;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // The built-in device keeps its relays in the user's data folder: give
    // each test a private one.
    QProcessEnvironment privateEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("home/data")));
        return environment;
    }

    Run tavikctl(const QStringList &args) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir->path());
        process.setProcessEnvironment(privateEnvironment());
        const double cpuBefore = childrenCpuMilliseconds();
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral(TAVIKCTL_PATH), args);
        Run run;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.elapsedMs = clock.elapsed();
        run.cpuMs = childrenCpuMilliseconds() - cpuBefore;
        run.exitCode = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    // Runs tavikctl on the test's device, or on the built-in one.
    Run onDevice(QStringList args, bool builtIn) const
    {
        if (builtIn)
            args << QStringLiteral("--simulate");
        else
            args << QStringLiteral("--port") << m_device->portPath();
        return tavikctl(args);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(path(QStringLiteral("home/data"))));
        m_device = std::make_unique<TavikSimulator>();
        m_device->setStateFile(path(QStringLiteral("device-state.txt")));
        QString error;
        QVERIFY2(m_device->start(&error), qPrintable(error));
    }

    void cleanup()
    {
        m_device.reset();
        m_dir.reset();
    }

    void programmingAFileAndReadingItBackGivesTheSameRelays_data()
    {
        QTest::addColumn<bool>("builtIn");
        QTest::newRow("device on a port") << false;
        QTest::newRow("built-in simulated device, two runs apart") << true;
    }

    void programmingAFileAndReadingItBackGivesTheSameRelays()
    {
        QFETCH(bool, builtIn);
        const RelayTable written = sampleTable();
        QCOMPARE(SaveTavikFile(written, path(QStringLiteral("a.csv"))), qint16(0));

        const Run programmed = onDevice({QStringLiteral("program"), QStringLiteral("-i"), QStringLiteral("a.csv")}, builtIn);
        QCOMPARE(programmed.exitCode, 0);
        QVERIFY(programmed.err.contains("Programming relay 1 of 16...\n"));
        QVERIFY(programmed.err.contains("Programming relay 16 of 16...\n"));
        if (!builtIn) {
            const SimRelay latching = m_device->relay(9);
            QCOMPARE(latching.mode, 10);
            QCOMPARE(latching.unlatchGate, 10); // NAND
        }

        const Run read = onDevice({QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("b.csv")}, builtIn);
        QCOMPARE(read.exitCode, 0);
        QVERIFY(read.err.contains("Reading relay 16 of 16...\n"));

        RelayTable back{};
        QString status;
        QCOMPARE(OpenTavikFile(back, path(QStringLiteral("b.csv")), status), qint16(0));
        for (int index = 0; index < RelayCount; ++index) {
            const RelayConfig &want = written[size_t(index)];
            const RelayConfig &got = back[size_t(index)];
            QCOMPARE(got.RelayMode, want.RelayMode);
            QCOMPARE(got.InputMode, want.InputMode);
            QCOMPARE(got.InputMap, want.InputMap);
            if (isLatchingMode(want.RelayMode)) {
                QCOMPARE(got.UnlatchInputMode, want.UnlatchInputMode);
                QCOMPARE(got.UnlatchMap, want.UnlatchMap);
            }
            if (isTimedMode(want.RelayMode))
                QCOMPARE(got.Counter, want.Counter);
        }
    }

    void readingALatchingRelayPrintsBothSidesInWords()
    {
        SimRelay relay;
        relay.mode = 10;
        relay.gate = 9;            // NAND
        relay.map = 0x809;         // inputs 0, 3, 11
        relay.unlatchGate = 3;     // IL
        relay.unlatchMap = 0x020;  // input 5
        relay.counter = 6699;
        relay.closed = true;
        relay.pcControl = true;
        m_device->setRelay(4, relay);

        const Run run = onDevice({QStringLiteral("read"), QStringLiteral("--relay"), QStringLiteral("5")}, false);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("Relay 5\n"
                                     "Mode: Latching\n"
                                     "Gate: NAND of inputs 0, 3, 11\n"
                                     "Unlatch gate: IL of input 5\n"
                                     "Closure time: 0:01:06.99\n"
                                     "Contact: Closed\n"
                                     "PC control: Yes\n"));
        QCOMPARE(m_device->received(), QByteArray("r5\r"));
    }

    void readingWithoutAFilePrintsSixteenLines()
    {
        SimRelay relay;
        relay.mode = 4;   // Trailing-Edge
        relay.gate = 11;  // NIL
        relay.counter = 16559999;
        m_device->setRelay(15, relay);
        const Run run = onDevice({QStringLiteral("read")}, false);
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 17);
        QCOMPARE(lines.at(0), QByteArray("Relay  1: Momentary; OR of no input; time 0:00:00.00; Open; PC control No"));
        QCOMPARE(lines.at(15), QByteArray("Relay 16: Trailing-Edge; NIL of no input; time 45:59:59.99; Open; PC control No"));
    }

    void aSilentDeviceEndsTheReadWithTheTimeoutTextAndLittleCpu()
    {
        SimFaults faults;
        faults.silent = true;
        m_device->setFaults(faults);
        const Run run = onDevice({QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("b.csv")}, false);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Could not communicate with Tavik. Please check COM settings, power, and signal "
                                  "cables.\n"),
                 run.err.constData());
        QVERIFY2(run.err.contains("reading relay 1 failed with result 3"), run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("b.csv"))));
        // 31 ticks of 100 ms; a spinning wait would burn all of them.
        QVERIFY2(run.elapsedMs >= 3000, qPrintable(QString::number(run.elapsedMs)));
        QVERIFY2(run.elapsedMs < 15000, qPrintable(QString::number(run.elapsedMs)));
        QVERIFY2(run.cpuMs > 0 && run.cpuMs < 600, qPrintable(QString::number(run.cpuMs)));
    }

    void aLineLostInTheSecondRelayStopsTheReadThereAndWritesNoFile()
    {
        const Run first = onDevice({QStringLiteral("read"), QStringLiteral("--relay"), QStringLiteral("1")}, false);
        QCOMPARE(first.exitCode, 0);
        const qint64 perRelay = m_device->sentCount();
        QVERIFY(perRelay > 0);

        SimFaults faults;
        faults.hangUpAfterOutput = perRelay + perRelay / 2;
        m_device->setFaults(faults);
        const Run run = onDevice({QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("b.csv")}, false);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Reading relay 2 of 16...\n"));
        QVERIFY(!run.err.contains("Reading relay 3 of 16..."));
        QVERIFY2(run.err.contains("reading relay 2 failed with result "), run.err.constData());
        QVERIFY(!QFile::exists(path(QStringLiteral("b.csv"))));
    }

    void liveCommandsReadTheRelayFirstAndSendTheirDialogue_data()
    {
        QTest::addColumn<bool>("underPCControl");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("underPCControlAfter");

        const QStringList relay3{QStringLiteral("--relay"), QStringLiteral("3")};
        QTest::newRow("pc-control on for a relay without it")
            << false << QStringList{QStringLiteral("pc-control"), QStringLiteral("on")} + relay3 << 0
            << QByteArray("r3\r\x1b" "c3\r") << true;
        QTest::newRow("pc-control on for a relay that has it sends nothing after the read")
            << true << QStringList{QStringLiteral("pc-control"), QStringLiteral("on")} + relay3 << 0
            << QByteArray("r3\r") << true;
        QTest::newRow("pc-control off for a relay that has it")
            << true << QStringList{QStringLiteral("pc-control"), QStringLiteral("off")} + relay3 << 0
            << QByteArray("r3\r\x1b" "c3\r") << false;
        QTest::newRow("latch under PC control")
            << true << QStringList{QStringLiteral("latch")} + relay3 << 0 << QByteArray("r3\r\x1bl3\r") << true;
        QTest::newRow("moment under PC control")
            << true << QStringList{QStringLiteral("moment")} + relay3 << 0 << QByteArray("r3\r\x1bm3\r") << true;
        QTest::newRow("latch without PC control sends nothing after the read")
            << false << QStringList{QStringLiteral("latch")} + relay3 << 1 << QByteArray("r3\r") << false;
    }

    void liveCommandsReadTheRelayFirstAndSendTheirDialogue()
    {
        QFETCH(bool, underPCControl);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, sent);
        QFETCH(bool, underPCControlAfter);

        SimRelay relay;
        relay.pcControl = underPCControl;
        m_device->setRelay(2, relay);
        const Run run = onDevice(args, false);
        QVERIFY2(run.exitCode == exitCode, run.err.constData());
        QCOMPARE(m_device->received(), sent);
        QCOMPARE(m_device->relay(2).pcControl, underPCControlAfter);
    }

    void pcControlOnThenLatchSendsBothDialogues()
    {
        QCOMPARE(onDevice({QStringLiteral("pc-control"), QStringLiteral("on"), QStringLiteral("--relay"),
                           QStringLiteral("12")},
                          false)
                     .exitCode,
                 0);
        const Run latched = onDevice({QStringLiteral("latch"), QStringLiteral("--relay"), QStringLiteral("12")}, false);
        QCOMPARE(latched.exitCode, 0);
        QCOMPARE(m_device->received(), QByteArray("r12\r\x1b" "c12\r" "r12\r\x1bl12\r"));
    }

    void thePortListNamesTheGivenPort()
    {
        const Run run = onDevice({QStringLiteral("ports")}, false);
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.trimmed().split('\n');
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.last().startsWith("Com"), run.out.constData());
        // The given /dev/pts/N is listed by its name below /dev, as the window lists it.
        QVERIFY(m_device->portPath().startsWith(QStringLiteral("/dev/pts/")));
        QVERIFY2(lines.last().endsWith(" (" + m_device->portPath().mid(5).toLocal8Bit() + ")"),
                 run.out.constData());
    }

    void usageErrorsExitWithTwoAndTouchNoDevice_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no port") << QStringList{QStringLiteral("read")};
        QTest::newRow("port and simulate") << QStringList{QStringLiteral("read"), QStringLiteral("--simulate"),
                                                          QStringLiteral("--port"), QStringLiteral("3")};
        QTest::newRow("relay 17") << QStringList{QStringLiteral("read"), QStringLiteral("--port"),
                                                 QStringLiteral("3"), QStringLiteral("--relay"), QStringLiteral("17")};
        QTest::newRow("relay 0") << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("3"),
                                                QStringLiteral("--relay"), QStringLiteral("0")};
        QTest::newRow("relay without a number") << QStringList{QStringLiteral("read"), QStringLiteral("--port"),
                                                               QStringLiteral("3"), QStringLiteral("--relay")};
        QTest::newRow("one relay into a file")
            << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("3"),
                           QStringLiteral("--relay"), QStringLiteral("2"), QStringLiteral("-o"), QStringLiteral("x.csv")};
        QTest::newRow("program without a file")
            << QStringList{QStringLiteral("program"), QStringLiteral("--port"), QStringLiteral("3")};
        QTest::newRow("pc-control without on or off")
            << QStringList{QStringLiteral("pc-control"), QStringLiteral("--port"), QStringLiteral("3"),
                           QStringLiteral("--relay"), QStringLiteral("2")};
        QTest::newRow("pc-control maybe")
            << QStringList{QStringLiteral("pc-control"), QStringLiteral("maybe"), QStringLiteral("--port"),
                           QStringLiteral("3"), QStringLiteral("--relay"), QStringLiteral("2")};
        QTest::newRow("latch without a relay")
            << QStringList{QStringLiteral("latch"), QStringLiteral("--port"), QStringLiteral("3")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("read"), QStringLiteral("--port"),
                                                       QStringLiteral("3"), QStringLiteral("--fast")};
        QTest::newRow("a port path that does not exist")
            << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/no-such-tavik")};
    }

    void usageErrorsExitWithTwoAndTouchNoDevice()
    {
        QFETCH(QStringList, args);
        const Run run = tavikctl(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("tavikctl: "), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    void aFileThatDoesNotLoadExitsWithThreeAndProgramsNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("explanation");
        QTest::newRow("wrong title") << QByteArray("Not a Tavik file,\r\n") << QByteArray("a.csv: line 1");
        QTest::newRow("missing file") << QByteArray() << QByteArray("a.csv: ");
    }

    void aFileThatDoesNotLoadExitsWithThreeAndProgramsNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, explanation);
        if (!content.isEmpty()) {
            QFile file(path(QStringLiteral("a.csv")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const Run run = onDevice({QStringLiteral("program"), QStringLiteral("-i"), QStringLiteral("a.csv")}, false);
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains(explanation), run.err.constData());
        QVERIFY(m_device->received().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTavikctlDevice)
#include "tst_tavikctldevice.moc"
