// Runs the built tavikctl as a user would: a table programmed into the
// built-in simulated device and read back, the file commands, and a device
// on a port that does not answer.
#include "config/tavikfile.h"
#include "privateport.h"
#include "processrunner.h"
#include "taviksimulator.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTavikctl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    ProcessRun tavikctl(const QStringList &arguments) const
    {
        ProcessRequest request{QStringLiteral(TAVIKCTL_PATH), arguments, m_dir.path()};
        // The built-in device keeps its relays in the user's data folder: a private one.
        request.environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        return runProcess(request);
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
        QCOMPARE(SaveTavikFile(written, path("a.csv")), qint16(0));
        const ProcessRun programmed = tavikctl({"program", "-i", "a.csv", "--simulate"});
        QCOMPARE(programmed.exitCode, 0);
        QVERIFY(programmed.err.contains("Programming relay 16 of 16...\n"));
        QCOMPARE(tavikctl({"read", "-o", "b.csv", "--simulate"}).exitCode, 0);
        RelayTable back{};
        QString status;
        QCOMPARE(OpenTavikFile(back, path("b.csv"), status), qint16(0));
        QVERIFY(back == written);
        QCOMPARE(tavikctl({"read", "--relay", "10", "--simulate"}).out,
                 QByteArray("Relay 10\nMode: Latching\nGate: IL of inputs 1, 3, 6, 8, 11\n"
                            "Unlatch gate: NXOR of inputs 0, 3, 6, 9\nClosure time: 0:00:00.00\n"
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
        const ProcessRun run = tavikctl({"read", "--relay", "1", "--port", privatePortPath(device.portPath())});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Could not communicate with Tavik. Please check COM settings, power, and "
                                  "signal cables.\ntavikctl: reading relay 1 failed with result 3 (Tavik did "
                                  "not answer in time)\n"),
                 run.err.constData());
        QCOMPARE(tavikctl({"read", "--relay", "17", "--port", privatePortPath(device.portPath())}).exitCode, 2);
        const QString link = privatePortPath(device.portPath());
        const ProcessRun ports = tavikctl({"ports", "--long", "--port", link});
        QVERIFY2(ports.out.contains(QStringLiteral(" (%1)\n  Path: %2\n  Device: %3\n")
                                        .arg(QFileInfo(link).fileName(), link, device.portPath())
                                        .toUtf8()),
                 ports.out.constData());
        QVERIFY(tavikctl({"ports", "--simulate"}).out.contains(" (simulated Tavik)\n"));
        QCOMPARE(tavikctl({"read", "--port", "serial:NO-SUCH-ADAPTER"}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestTavikctl)
#include "tst_tavikctl.moc"
