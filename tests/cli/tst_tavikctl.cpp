// Runs the built tavikctl as a user would: a table programmed into the
// built-in simulated device and read back, the file commands, a device on a
// port that does not answer, and the device checked against a file, two files
// compared and only what differs programmed, with their JSON; a signal that
// cancels, and several devices at once.
#include "config/relaycomparison.h"
#include "config/tavikfile.h"
#include "privateport.h"
#include "processrunner.h"
#include "taviksimulator.h"
#include "variedrelays.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestTavikctl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    ProcessRequest request(const QStringList &arguments) const
    {
        ProcessRequest request{QStringLiteral(TAVIKCTL_PATH), arguments, m_dir.path()};
        // The built-in device keeps its relays in the user's data folder: a private one.
        request.environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        return request;
    }
    ProcessRun tavikctl(const QStringList &arguments) const { return runProcess(request(arguments)); }

    // A device holding the varied relays, on a port of its own, and a.csv holding the same.
    void startVariedDevice(TavikSimulator &device, const SimFaults &faults = {},
                           const QString &name = "varied")
    {
        device.setStateFile(m_dir.filePath(name + "-device.txt"));
        QVERIFY(device.start());
        RelayTable table{};
        for (int i = 0; i < RelayCount; ++i) {
            device.setRelay(i, variedDeviceRelay(i));
            table[size_t(i)] = asRead(variedDeviceRelay(i));
        }
        QCOMPARE(saveConfigFile(table, path("a.csv")), FileResult::Ok);
        device.setFaults(faults);
    }

    static QJsonObject json(const ProcessRun &run)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            qWarning() << "not a JSON object:" << run.out << run.err;
        return document.object();
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void aTableProgrammedIntoTheDeviceReadsBackEqual()
    {
        RelayTable written{};
        for (int index = 0; index < RelayCount; ++index) {
            RelayConfig &relay = written[size_t(index)];
            relay.RelayMode = qint16(index % RelayModeCount);
            relay.InputMode = qint16(index * 3 % InputModeCount);
            const bool latching = isLatchingMode(relay.RelayMode);
            for (int input = 0; input < InputCount; ++input) {
                relay.InputMap[size_t(input)] = (input * 7 + index) % 5 < 2;
                relay.UnlatchMap[size_t(input)] = latching && (input + index) % 3 == 0;
            }
            relay.UnlatchInputMode = latching ? qint16((index + 5) % InputModeCount) : 0;
            relay.Counter = !isTimedMode(relay.RelayMode) ? 0 : index == 4 ? 16559999 : 6699 * (index + 1);
            CounterToTime(relay);
        }
        QCOMPARE(saveConfigFile(written, path("a.csv")), FileResult::Ok);
        const ProcessRun programmed = tavikctl({"program", "-i", "a.csv", "--simulate"});
        QCOMPARE(programmed.exitCode, 0);
        QVERIFY(programmed.err.contains("Programming relay 16 of 16...\n"));
        QCOMPARE(tavikctl({"read", "-o", "b.csv", "--simulate"}).exitCode, 0);
        RelayTable back{};
        QString status;
        QCOMPARE(openConfigFile(back, path("b.csv"), status), FileResult::Ok);
        QVERIFY(back == written);
        QCOMPARE(tavikctl({"read", "--relay", "10", "--simulate"}).out,
                 QByteArray("Relay 10\nMode: Latching\nGate: IL of inputs 2, 4, 7, 9, 12\n"
                            "Unlatch gate: NXOR of inputs 1, 4, 7, 10\nClosure time: 0:00:00.00\n"
                            "Contact: Open\nPC control: No\n"));
    }

    void theFileCommandsMakeShowAndFindFaults()
    {
        QCOMPARE(tavikctl({"new", "-o", "c.csv"}).exitCode, 0);
        const ProcessRun shown = tavikctl({"show", "c.csv"});
        QCOMPARE(shown.exitCode, 0);
        const QList<QByteArray> lines = shown.out.split('\n');
        QCOMPARE(lines.size(), 18);
        QVERIFY(lines.first().startsWith("Date created: "));
        QCOMPARE(lines.at(16), QByteArray("16, 0, 0, 0x000000"));

        QFile file(path("c.csv"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes[bytes.indexOf(", Relay 3, ") + 45] = '2'; // the fourth place of relay 3's unlatch map
        file.seek(0);
        file.write(bytes);
        file.close();
        const ProcessRun faulty = tavikctl({"show", "c.csv"});
        QCOMPARE(faulty.exitCode, 6);
        QCOMPARE(faulty.out, QByteArray("Incorrect file format\n"));
        QVERIFY2(faulty.err.contains("line 7, column 46") && faulty.err.contains("'2'"),
                 faulty.err.constData());
        const ProcessRun refused = tavikctl({"program", "-i", "c.csv", "--simulate"});
        QCOMPARE(refused.exitCode, 3);
        QVERIFY2(refused.err.contains("c.csv: line 7"), refused.err.constData());
    }

    void aDeviceThatDoesNotAnswerEndsWithOneAndAWrongRelayWithTwo()
    {
        TavikSimulator device;
        device.setStateFile(path("port-device.txt"));
        device.setFaults({.silent = true});
        QVERIFY(device.start());
        const ProcessRun run =
            tavikctl({"read", "--relay", "1", "--port", privatePortPath(device.portPath())});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Could not communicate with Tavik. Please check COM settings, power, and "
                                  "signal cables.\ntavikctl: reading relay 1 failed with result 3 (Tavik did "
                                  "not answer in time)\n"),
                 run.err.constData());
        QCOMPARE(tavikctl({"read", "--relay", "17", "--port", privatePortPath(device.portPath())}).exitCode,
                 2);
        const QString link = privatePortPath(device.portPath());
        const ProcessRun oneFile =
            tavikctl({"read", "-o", "x.csv", "--port", link, "--port", device.portPath()});
        QCOMPARE(oneFile.exitCode, 2);
        QVERIFY2(oneFile.err.contains("{port}"), oneFile.err.constData());

        // Silent devices at once wait out their timeouts side by side, not one after another.
        TavikSimulator others[2];
        QStringList three{"read", "--relay", "1", "--port", link};
        for (TavikSimulator &other : others) {
            other.setFaults({.silent = true});
            QVERIFY(other.start());
            three << "--port" << privatePortPath(other.portPath());
        }
        const ProcessRun silent = tavikctl(three);
        QCOMPARE(silent.exitCode, 1);
        QVERIFY2(silent.elapsedMs < 2 * 3100, QByteArray::number(silent.elapsedMs));
        const ProcessRun ports = tavikctl({"ports", "--long", "--port", link});
        QVERIFY2(ports.out.contains(QStringLiteral(" (%1)\n  Path: %2\n  Device: %3\n")
                                        .arg(QFileInfo(link).fileName(), link, device.portPath())
                                        .toUtf8()),
                 ports.out.constData());
        QVERIFY(tavikctl({"ports", "--simulate"}).out.contains(" (simulated Tavik)\n"));
        QCOMPARE(tavikctl({"read", "--port", "serial:NO-SUCH-ADAPTER"}).exitCode, 2);
        const QJsonArray listed =
            QJsonDocument::fromJson(tavikctl({"ports", "--json", "--port", link}).out).array();
        QVERIFY(std::any_of(listed.begin(), listed.end(), [&](const QJsonValue &port) {
            return port.toObject().value("path").toString() == link;
        }));
    }
    void theDeviceIsCheckedAgainstAFileAndOnlyWhatDiffersIsProgrammed()
    {
        TavikSimulator device;
        startVariedDevice(device);
        const QString port = privatePortPath(device.portPath());
        const ProcessRun same = tavikctl({"verify", "-i", "a.csv", "--relay", "3", "--port", port});
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out, QByteArray("The device holds a.csv (relay 3 checked).\n"));

        SimRelay changed = variedDeviceRelay(4);
        changed.map = 0x005; // inputs 1 and 3
        device.setRelay(4, changed);
        const ProcessRun differs = tavikctl({"verify", "-i", "a.csv", "--port", port, "--json"});
        QCOMPARE(differs.exitCode, 4);
        const QJsonObject report = json(differs);
        QCOMPARE(report.value("exitCode").toInt(), 4);
        QCOMPARE(report.value("differing").toArray(), QJsonArray{5});
        QCOMPARE(report.value("relays").toArray().size(), 16);
        const QJsonObject difference = report.value("differences").toArray().at(0).toObject();
        QCOMPARE(difference.value("field").toString(), QStringLiteral("input map"));
        QCOMPARE(difference.value("device").toString(), QStringLiteral("1, 3"));
        QCOMPARE(difference.value("file").toString(),
                 RelayText::inputs(asRead(variedDeviceRelay(4)).InputMap));

        const ProcessRun programmed =
            tavikctl({"program", "-i", "a.csv", "--changed", "--json", "--port", port});
        QCOMPARE(programmed.exitCode, 0);
        const QJsonObject outcome = json(programmed);
        QCOMPARE(outcome.value("programmed").toArray(), QJsonArray{5});
        QCOMPARE(outcome.value("left").toArray().size(), 15);
        QCOMPARE(outcome.value("relays").toArray().at(4).toObject().value("verified").toBool(), true);
        QVERIFY(device.relay(4) == variedDeviceRelay(4));
        QCOMPARE(tavikctl({"verify", "-i", "a.csv", "--relay", "5", "--port", port}).exitCode, 0);

        // The Latching relay 3 is unlatched by NAND of the first and the last input.
        const ProcessRun read = tavikctl({"read", "--relay", "3", "--json", "--port", port});
        const QJsonObject relay3 = json(read).value("relays").toArray().at(0).toObject();
        QCOMPARE(relay3.value("unlatchInputs").toArray(), (QJsonArray{1, 12}));
        QCOMPARE(relay3.value("relayMode").toString(), QStringLiteral("Latching"));
    }

    void twoFilesAreCompared()
    {
        RelayTable first{};
        first[2].RelayMode = LatchingMode;
        RelayTable second = first;
        second[2].UnlatchMap[1] = true;
        second[9].PCControl = true;
        QCOMPARE(saveConfigFile(first, path("d1.csv")), FileResult::Ok);
        QCOMPARE(saveConfigFile(second, path("d2.csv")), FileResult::Ok);
        const ProcessRun differs = tavikctl({"diff", "--json", "d1.csv", "d2.csv"});
        QCOMPARE(differs.exitCode, 4);
        const QJsonArray differences = json(differs).value("differences").toArray();
        QCOMPARE(differences.size(), 2);
        QCOMPARE(differences.at(0).toObject().value("second").toString(), QStringLiteral("2"));
        QCOMPARE(differences.at(1).toObject().value("counts").toBool(), false);
        const ProcessRun same = tavikctl({"diff", "d1.csv", "d1.csv"});
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out, QByteArray("The files configure every relay alike.\n"));
        QCOMPARE(tavikctl({"diff", "d1.csv", "none.csv"}).exitCode, 3);
    }

    void aDeviceThatHangsUpMidwayEndsWithOneAndSaysWhere_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("verify") << QStringList{"verify", "-i", "a.csv"};
        QTest::newRow("program --changed") << QStringList{"program", "--changed", "-i", "a.csv"};
        QTest::newRow("read") << QStringList{"read"};
    }

    void aDeviceThatHangsUpMidwayEndsWithOneAndSaysWhere()
    {
        QFETCH(QStringList, command);
        TavikSimulator device;
        startVariedDevice(device, {.hangUpAfterOutput = 900});
        const ProcessRun run =
            tavikctl(command + QStringList{"--json", "--port", privatePortPath(device.portPath())});
        QCOMPARE(run.exitCode, 1);
        const QJsonObject report = json(run);
        QCOMPARE(report.value("exitCode").toInt(), 1);
        const QJsonObject failure = report.value("failure").toObject();
        QVERIFY2(failure.value("relay").toInt() > 2 && failure.value("relay").toInt() < 16,
                 run.out.constData());
        QVERIFY(failure.value("result").toInt() > 0);
        QVERIFY(!failure.value("text").toString().isEmpty());
        QVERIFY(!report.contains("differences") || report.value("differences").toArray().isEmpty());
    }

    void aSignalCancelsAndLeavesTheDeviceAtItsMenu_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("SIGINT") << SIGINT << 130;
        QTest::newRow("SIGTERM") << SIGTERM << 143;
    }

    void aSignalCancelsAndLeavesTheDeviceAtItsMenu()
    {
        QFETCH(int, signal);
        QFETCH(int, exitCode);
        TavikSimulator device;
        startVariedDevice(device, {.paced = true});
        const SimRelay before = device.relay(15);
        RelayTable wanted{};
        for (RelayConfig &relay : wanted)
            relay.RelayMode = LatchingMode;
        QCOMPARE(saveConfigFile(wanted, path("latching.csv")), FileResult::Ok);
        const QString port = privatePortPath(device.portPath());
        const ProcessRequest program = request({"program", "-i", "latching.csv", "--json", "--port", port});
        QProcess run;
        run.setProcessEnvironment(program.environment);
        run.setWorkingDirectory(program.folder);
        run.start(program.program, program.arguments);
        // Relay 2's command character: relay 1 is programmed.
        QTRY_VERIFY_WITH_TIMEOUT(device.received().count('p') >= 2, 20000);
        ::kill(pid_t(run.processId()), signal);
        QVERIFY(run.waitForFinished(10000));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.exitCode(), exitCode);
        const QJsonObject report = QJsonDocument::fromJson(run.readAllStandardOutput()).object();
        QCOMPARE(report.value("cancelled").toBool(), true);
        const QJsonArray programmed = report.value("programmed").toArray();
        QVERIFY(!programmed.isEmpty() && programmed.size() < RelayCount);
        for (int i = 0; i < programmed.size(); ++i) {
            QCOMPARE(programmed.at(i).toInt(), i + 1);
            QCOMPARE(device.relay(i).mode, 10);
        }
        QVERIFY(device.relay(15) == before);
        // The last thing the device heard is escape, which leaves it at its menu.
        QTRY_VERIFY(device.received().endsWith('\x1b'));
        device.clearReceived();
        const ProcessRun read = tavikctl({"read", "--relay", "1", "--port", port});
        QCOMPARE(read.exitCode, 0);
        QVERIFY2(!device.received().contains('\x1b'), device.received().constData()); // no restart needed
    }

    void severalDevicesRunAtOnceAndOneFailingLeavesTheOthers_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("output"); // -o with --json
        QTest::newRow("read") << QStringList{"read"} << "relays"
                              << "site-{port}.csv";
        QTest::newRow("program") << QStringList{"program", "-i", "a.csv"} << "programmed"
                                 << "";
    }

    void severalDevicesRunAtOnceAndOneFailingLeavesTheOthers()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, done);
        QFETCH(QString, output);
        for (const bool json : {true, false}) {
            TavikSimulator devices[3];
            QStringList ports;
            for (int d = 0; d < 3; ++d) {
                startVariedDevice(devices[d], {.hangUpAfterOutput = d == 1 ? 900 : -1}, QString::number(d));
                ports << privatePortPath(devices[d].portPath());
            }
            QFile list(path("ports.txt"));
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write("# the last two\n\n" + ports.at(1).toUtf8() + "\n" + ports.at(2).toUtf8() + "\n");
            list.close();
            const ProcessRun run =
                tavikctl(command + QStringList{"--port", ports.at(0), "--ports-from", "ports.txt"} +
                         (!json              ? QStringList{}
                          : output.isEmpty() ? QStringList{"--json"}
                                             : QStringList{"--json", "-o", output}));
            QCOMPARE(run.exitCode, 1);
            if (json) {
                const QJsonObject report = this->json(run);
                QCOMPARE(report.value("exitCode").toInt(), 1);
                const QJsonArray entries = report.value("ports").toArray();
                QCOMPARE(entries.size(), 3);
                for (int d = 0; d < 3; ++d) {
                    const QJsonObject entry = entries.at(d).toObject();
                    QCOMPARE(entry.value("port").toString(), ports.at(d));
                    QCOMPARE(entry.value("exitCode").toInt(), d == 1 ? 1 : 0);
                    QCOMPARE(entry.contains("failure"), d == 1);
                    QCOMPARE(entry.value(done).toArray().size() == RelayCount, d != 1);
                    if (output.isEmpty() || d == 1)
                        continue;
                    // "/tmp/tavik-ports-X/port3" as "tmp_tavik-ports-X_port3"
                    const QString file =
                        QString(output).replace("{port}", ports.at(d).mid(1).replace('/', '_'));
                    QCOMPARE(entry.value("file").toString(), file);
                    RelayTable saved{}, wanted{};
                    QString status;
                    QCOMPARE(openConfigFile(saved, m_dir.filePath(file), status), FileResult::Ok);
                    QCOMPARE(openConfigFile(wanted, path("a.csv"), status), FileResult::Ok);
                    QVERIFY(saved == wanted);
                }
                continue;
            }
            // Every line names its port; the healthy devices' relays, or the failing one's fault.
            const QList<QByteArray> out = run.out.split('\n');
            QCOMPARE(out.size(), command.first() == "read" ? 2 * RelayCount + 1 : 1);
            for (const QByteArray &line : out.mid(0, out.size() - 1))
                QVERIFY2(line.startsWith(ports.at(0).toUtf8() + '\t') ||
                             line.startsWith(ports.at(2).toUtf8() + '\t'),
                         line.constData());
            for (const QByteArray &line : run.err.trimmed().split('\n'))
                QVERIFY2(
                    std::any_of(ports.cbegin(), ports.cend(),
                                [&](const QString &port) { return line.startsWith(port.toUtf8() + '\t'); }),
                    line.constData());
            QVERIFY(run.err.contains(ports.at(1).toUtf8() + "\ttavikctl: "));
        }
    }
};

QTEST_GUILESS_MAIN(TestTavikctl)
#include "tst_tavikctl.moc"
