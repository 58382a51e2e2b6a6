#include "cputime.h"
#include "link/devicelink.h"
#include "link/promptexchange.h"
#include "link/wait.h"
#include "ptydevice.h"
#include "base/errorlog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The exchange against a scripted device on a real pseudo-terminal, through
// the real serial port. Timeouts are shortened to 3 ticks except where the
// full 3.1 s is the point.
class TestPromptExchange : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Rig {
        PtyDevice device;
        DeviceLink link;
        PromptExchange exchange{link};
        QStringList statusTexts;

        Rig()
        {
            const qint16 number = link.ports().addRuntimePort(device.portPath());
            link.setPortText(QStringLiteral("Com") + QString::number(number));
            link.setTimeoutTicks(2);
            exchange.setStatusSink([this](const QString &text) { statusTexts << text; });
            link.OpenSerPort();
        }
        // Lets the line deliver what the device sent.
        void settle(qint64 count)
        {
            QElapsedTimer clock;
            clock.start();
            while (link.RxCount() + link.comSerPort().inBufferCount() < count && clock.elapsed() < 5000)
                QTest::qWait(5);
        }
    };

    static QByteArray silent(char) { return {}; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
    }

    void sendCharComparesTheFirstCharacterThatComesBack_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("leftInRing");
        QTest::newRow("echo") << QByteArray("r") << 0 << 0;
        QTest::newRow("echo and more") << QByteArray("rnumber") << 0 << 6;
        QTest::newRow("another character") << QByteArray("x") << 2 << 0;
        QTest::newRow("the echo in second place") << QByteArray("xr") << 2 << 1;
        QTest::newRow("lower case differs") << QByteArray("R") << 2 << 0;
    }
    void sendCharComparesTheFirstCharacterThatComesBack()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, result);
        QFETCH(int, leftInRing);
        Rig rig;
        rig.device.setResponder([reply](char) { return reply; });
        QCOMPARE(rig.exchange.SendChar('r', true), result);
        rig.settle(leftInRing);
        QCOMPARE(rig.link.RxCount(), leftInRing);
        QCOMPARE(rig.device.received(), QByteArray("r"));
        QVERIFY(rig.statusTexts.isEmpty());
    }

    void sendCharOnASilentLineTimesOutWithTheStatusText()
    {
        Rig rig;
        rig.device.setResponder(silent);
        QCOMPARE(rig.exchange.SendChar('p', true), 1);
        QCOMPARE(
            rig.statusTexts,
            QStringList{
                "Could not communicate with Tavik. Please check COM settings, power, and signal cables."});
        QVERIFY(!rig.link.tmrTimer().isActive());
    }

    void sendCharWithoutEchoReturnsAtOnceAndLeavesTheEchoInTheRing()
    {
        Rig rig;
        rig.link.setTimeoutTicks(30);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.exchange.SendChar('\r', false), 0);
        QVERIFY(clock.elapsed() < 1000);
        rig.settle(1);
        QCOMPARE(rig.link.RxCount(), 1);
        QCOMPARE(rig.link.ReadChar(), '\r');
    }

    void sendCharDiscardsStaleInputUpToTheReceiveBufferSize_data()
    {
        QTest::addColumn<int>("stale");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("a few") << 10 << 0 << QByteArray("r");
        QTest::newRow("a full ring") << 1023 << 0 << QByteArray("r");
        QTest::newRow("exactly the buffer size") << 1024 << 0 << QByteArray("r");
        QTest::newRow("one more than the buffer size") << 1025 << 3 << QByteArray();
        QTest::newRow("far more") << 5000 << 3 << QByteArray();
    }
    void sendCharDiscardsStaleInputUpToTheReceiveBufferSize()
    {
        QFETCH(int, stale);
        QFETCH(int, result);
        QFETCH(QByteArray, sent);
        Rig rig;
        rig.device.send(QByteArray(stale, 'z'));
        rig.settle(stale);
        QCOMPARE(rig.exchange.SendChar('r', true), result);
        QTest::qWait(20);
        QCOMPARE(rig.device.received(), sent);
    }

    void sendStringStopsAtTheFirstFailingCharacter_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("badAt");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("received");
        QTest::newRow("all echoed") << QByteArray("12") << QByteArray() << 0 << QByteArray("12");
        QTest::newRow("wrong echo of the second digit")
            << QByteArray("123") << QByteArray("2") << 3 << QByteArray("12");
        QTest::newRow("no echo of the first digit")
            << QByteArray("16") << QByteArray("1") << 2 << QByteArray("1");
    }
    void sendStringStopsAtTheFirstFailingCharacter()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, badAt);
        QFETCH(int, result);
        QFETCH(QByteArray, received);
        Rig rig;
        const bool silentAtBad = result == 2;
        rig.device.setResponder([badAt, silentAtBad](char c) {
            if (!badAt.isEmpty() && c == badAt.at(0))
                return silentAtBad ? QByteArray() : QByteArray("?");
            return QByteArray(1, c);
        });
        QCOMPARE(rig.exchange.SendString(text, true), result);
        QCOMPARE(rig.device.received(), received);
    }

    void sendStringOnAFloodedLineGives4()
    {
        Rig rig;
        rig.device.send(QByteArray(2000, '#'));
        rig.settle(2000);
        QCOMPARE(rig.exchange.SendString("12", true), 4);
        QVERIFY(rig.device.received().isEmpty());
    }

    void sendStringWithoutEchoesSendsEverything()
    {
        Rig rig;
        rig.device.setResponder(silent);
        QCOMPARE(rig.exchange.SendString("y\r", false), 0);
        QTRY_COMPARE(rig.device.received(), QByteArray("y\r"));
    }

    void aWriteToAClosedPortIsLoggedAndTheEchoWaitTimesOut()
    {
        Rig rig;
        rig.link.CloseSerPort();
        QFile::remove(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
        QCOMPARE(rig.exchange.SendString("5", true), 2);
        QFile log(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("in procedure SendChar of Form frmMain"));
        QCOMPARE(rig.statusTexts.size(), 1);
    }

    void getStringFindsThePromptWhateverTheBatches_data()
    {
        QTest::addColumn<QByteArrayList>("batches");
        QTest::addColumn<QByteArray>("prompt");
        QTest::addColumn<QByteArray>("collected");
        QTest::addColumn<QByteArray>("leftInRing");
        QTest::newRow("one batch") << QByteArrayList{"number (1-16): "} << QByteArray("number (1-16): ")
                                   << QByteArray("number (1-16): ") << QByteArray();
        QTest::newRow("split prompt")
            << QByteArrayList{"Relay num", "ber (1-1", "6): 5"} << QByteArray("number (1-16): ")
            << QByteArray("Relay number (1-16): ") << QByteArray("5");
        QTest::newRow("banner before, value after")
            << QByteArrayList{"\r\n== Tavik ==\r\n\r\nRelay mode: Toggle\r\nInput mode: OR\r"}
            << QByteArray("Relay mode: ") << QByteArray("\r\n== Tavik ==\r\n\r\nRelay mode: ")
            << QByteArray("Toggle\r\nInput mode: OR\r");
        QTest::newRow("a value up to its carriage return")
            << QByteArrayList{"Toggle\rInput"} << QByteArray("\r") << QByteArray("Toggle\r")
            << QByteArray("Input");
        QTest::newRow("character by character")
            << QByteArrayList{"(", "y", "/", "n", ")", ":", " "} << QByteArray("(y/n): ")
            << QByteArray("(y/n): ") << QByteArray();
        QTest::newRow("case matters")
            << QByteArrayList{"RELAY MODE: x\rRelay mode: "} << QByteArray("Relay mode: ")
            << QByteArray("RELAY MODE: x\rRelay mode: ") << QByteArray();
    }
    void getStringFindsThePromptWhateverTheBatches()
    {
        QFETCH(QByteArrayList, batches);
        QFETCH(QByteArray, prompt);
        QFETCH(QByteArray, collected);
        QFETCH(QByteArray, leftInRing);
        Rig rig;
        rig.link.setTimeoutTicks(30);
        int delay = 0;
        for (const QByteArray &batch : batches)
            QTimer::singleShot(delay += 20, &rig.device, [&rig, batch] { rig.device.send(batch); });
        QByteArray text;
        QCOMPARE(rig.exchange.GetString(text, prompt), 0);
        QCOMPARE(text, collected);
        rig.settle(leftInRing.size());
        QByteArray rest;
        while (rig.link.RxCount() > 0)
            rest.append(rig.link.ReadChar());
        QCOMPARE(rest, leftInRing);
    }

    void getStringKeepsTheCallersPrefix()
    {
        Rig rig;
        rig.device.send("1A2B\rstatus: ");
        QByteArray text = "&H";
        QCOMPARE(rig.exchange.GetString(text, "\r"), 0);
        QCOMPARE(text, QByteArray("&H1A2B\r"));
    }

    void getStringTimesOutWithoutTouchingTheStatus()
    {
        Rig rig;
        rig.device.send("number (1-9): ");
        QByteArray text;
        QCOMPARE(rig.exchange.GetString(text, "number (1-16): "), 1);
        QCOMPARE(text, QByteArray("number (1-9): "));
        QVERIFY(rig.statusTexts.isEmpty());
        QVERIFY(!rig.link.tmrTimer().isActive());
    }

    void aWaitThatAnotherDialogueInterruptsSaysSo_data()
    {
        QTest::addColumn<bool>("echoWait");
        QTest::newRow("GetString") << false;
        QTest::newRow("SendChar's echo") << true;
    }
    void aWaitThatAnotherDialogueInterruptsSaysSo()
    {
        QFETCH(bool, echoWait);
        Rig rig;
        rig.link.setTimeoutTicks(30);
        // The device echoes only "c"; the outer wait hears nothing of its own.
        rig.device.setResponder([](char c) { return c == 'c' ? QByteArray("c") : QByteArray(); });
        qint16 inner = -1;
        QTimer::singleShot(50, &rig.link, [&rig, &inner] { inner = rig.exchange.SendChar('c', true); });
        QElapsedTimer clock;
        clock.start();
        QByteArray text;
        const qint16 outer = echoWait ? rig.exchange.SendChar('r', true) : rig.exchange.GetString(text, "> ");
        QCOMPARE(inner, qint16(0));
        QCOMPARE(outer, qint16(2));
        // Over as soon as the inner dialogue is, long before its 3.1 s.
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(rig.statusTexts.isEmpty());
        QVERIFY(rig.link.comSerPort().portOpen());
    }

    void theRealTimeoutIs31TicksAndCostsAlmostNoCpu()
    {
        Rig rig;
        rig.link.setTimeoutTicks(DeviceLink::DefaultTimeoutTicks);
        rig.device.setResponder(silent);
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = processCpuMilliseconds();
        QCOMPARE(rig.exchange.SendChar('r', true), 1);
        const double cpuUsed = processCpuMilliseconds() - cpuBefore;
        QVERIFY2(clock.elapsed() >= 3050, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(rig.link.TimerTicks(), 31);
        QVERIFY2(cpuUsed < 1000, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
        QCOMPARE(rig.statusTexts.size(), 1);
    }

    void waitReturnsNoSoonerThanAskedAndLetsEventsRun()
    {
        bool eventRan = false;
        QTimer::singleShot(10, this, [&] { eventRan = true; });
        QElapsedTimer clock;
        clock.start();
        Wait(50);
        QVERIFY(clock.nsecsElapsed() >= 50'000'000);
        QVERIFY(eventRan);
    }

    // Last on purpose: once the application is told to quit, no event loop starts.
    void aPauseWhileTheApplicationQuitsEndsInsteadOfSpinning()
    {
        QCoreApplication::exit(0);
        QElapsedTimer clock;
        clock.start();
        Wait(5000);
        QVERIFY2(clock.elapsed() < 2500, "the pause spun on until its time was up");
    }
};

QTEST_GUILESS_MAIN(TestPromptExchange)
#include "tst_promptexchange.moc"
