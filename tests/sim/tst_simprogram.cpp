// The standalone tavik-sim program: what it prints, the link it makes and
// removes, how its options reach the device, and a clean end on a signal.

#include "simclient.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSimProgram : public QObject
{
    Q_OBJECT

private slots:
    void itServesOnItsLinkAndRemovesTheLinkWhenTerminated();
    void optionsMakeTheDeviceMisbehave_data();
    void optionsMakeTheDeviceMisbehave();
    void aBadOptionValueIsAUsageError_data();
    void aBadOptionValueIsAUsageError();
    void theStateFileKeepsWhatWasProgrammed();

private:
    static QString startSimulator(QProcess &process, const QStringList &arguments);
};

// Starts the program and returns the port path from its first line.
QString TestSimProgram::startSimulator(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral(TAVIK_SIM_PROGRAM), arguments);
    if (!process.waitForStarted() || !QTest::qWaitFor([&] { return process.canReadLine(); }, 5000))
        return {};
    const QByteArray line = process.readLine().trimmed();
    const QByteArray lead = "Tavik simulator on ";
    return line.startsWith(lead) ? QString::fromLocal8Bit(line.mid(lead.size())) : QString();
}

void TestSimProgram::itServesOnItsLinkAndRemovesTheLinkWhenTerminated()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("tavik");
    QProcess process;
    const QString port = startSimulator(process, {"--link", link});
    QVERIFY(port.startsWith("/dev/pts/"));
    QVERIFY(QTest::qWaitFor([&] { return process.canReadLine(); }, 5000));
    QCOMPARE(process.readLine(), ("Linked as " + link + "\n").toLocal8Bit());
    QCOMPARE(QFileInfo(link).symLinkTarget(), port);

    {
        SimClient client(link);
        QVERIFY(client.isOpen());
        client.send("r16\r");
        QVERIFY(!client.awaitText("Relay mode: Momentary\r\n").isEmpty());
    }

    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSimProgram::optionsMakeTheDeviceMisbehave_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("--silent") << QStringList{"--silent"} << QByteArray("r") << QByteArray();
    QTest::newRow("--wrong-echo once")
        << QStringList{"--wrong-echo", "x"} << QByteArray("xx") << QByteArray("?x");
    QTest::newRow("--short-map") << QStringList{"--short-map", "1"} << QByteArray("r1\r")
                                 << QByteArray("r\r\nRelay number (1-16): 1\r\r\nRelay mode: Momentary\r\n"
                                               "Input mode: OR\r\nInput map: 00000\r\n");
    QTest::newRow("--banners") << QStringList{"--banners"} << QByteArray("r")
                               << QByteArray("r\r\n\r\n\r\nRelay number (1-16): ");
    QTest::newRow("--chunk with --chunk-delay")
        << QStringList{"--chunk", "2", "--chunk-delay", "5"} << QByteArray("r")
        << QByteArray("r\r\nRelay number (1-16): ");
    QTest::newRow("--paced") << QStringList{"--paced"} << QByteArray("c")
                             << QByteArray("c\r\nRelay number (1-16): ");
    QTest::newRow("--hang-up-after") << QStringList{"--hang-up-after", "4"} << QByteArray("r")
                                     << QByteArray("r\r\nR");
    QTest::newRow("--flood") << QStringList{"--flood"} << QByteArray() << QByteArray(300, '#');
}

void TestSimProgram::optionsMakeTheDeviceMisbehave()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, reply);

    QProcess process;
    const QString port = startSimulator(process, arguments);
    QVERIFY(!port.isEmpty());
    {
        SimClient client(port);
        QVERIFY(client.isOpen());
        client.send(sent);
        QByteArray got = client.awaitCount(reply.size(), 2000);
        got += client.collectFor(50);
        if (reply.isEmpty())
            QCOMPARE(got, QByteArray());
        else
            QCOMPARE(got.left(reply.size()), reply);
    }
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
}

void TestSimProgram::aBadOptionValueIsAUsageError_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("--chunk without a number") << QStringList{"--chunk", "x"};
    QTest::newRow("--short-map below zero") << QStringList{"--short-map", "-2"};
    QTest::newRow("--wrong-echo of two characters") << QStringList{"--wrong-echo", "ab"};
}

void TestSimProgram::aBadOptionValueIsAUsageError()
{
    QFETCH(QStringList, arguments);

    QProcess process;
    process.start(QStringLiteral(TAVIK_SIM_PROGRAM), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().startsWith("tavik-sim: --"));
}

void TestSimProgram::theStateFileKeepsWhatWasProgrammed()
{
    QTemporaryDir dir;
    const QStringList arguments = {"--state", dir.filePath("relays.txt")};
    const QList<QPair<QByteArray, QByteArray>> runs = {
        {"p9\r2\r0\r1\r0\r1\ry", "y\r\nRelay configuration saved\r\n"},
        {"r9\r", "Relay mode: Toggle\r\nInput mode: AND\r\nInput map: 000000010000\r\n"},
    };
    for (const auto &[dialogue, expected] : runs) {
        QProcess process;
        const QString port = startSimulator(process, arguments);
        QVERIFY(!port.isEmpty());
        {
            SimClient client(port);
            client.send(dialogue);
            QVERIFY2(!client.awaitText(expected).isEmpty(), expected.constData());
        }
        process.terminate();
        QVERIFY(process.waitForFinished(5000));
    }
}

QTEST_GUILESS_MAIN(TestSimProgram)
#include "tst_simprogram.moc"
