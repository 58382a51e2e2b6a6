#include "base/errorlog.h"
#include "cputime.h"
#include "link/connectionpolicy.h"
#include "link/devicelink.h"
#include "link/portnumber.h"
#include "link/promptexchange.h"
#include "privateport.h"
#include "ptydevice.h"
#include "finish.h"

#include <QtTest>

// One call of sendChar (a text of one character), sendText or waitForPrompt (the text is the prompt).
// result: sends 0 sent, 1 no echo, 2 wrong echo, 3 flooded; prompts 0 seen, 1 timed out.
struct Exchange {
    enum Call { Char, String, Get } call;
    QByteArray text;
    QByteArrayList answers; // to each character the device gets, then silence
    QByteArrayList said;    // by the device of itself, 20 ms apart; the wait is then the full 3.1 s
    int stale = 0, result = 0;
    QByteArray received; // by the device; for waitForPrompt, the text collected
    int leftInRing = 0;
    bool echo = true;
};
Q_DECLARE_METATYPE(Exchange)

class TestLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Rig {
        PtyDevice device;
        DeviceLink link;
        DevicePort &port = link.port();
        PromptExchange exchange{link};
        QStringList statusTexts;
        qint16 number = port.directory().addRuntimePort(privatePortPath(device.portPath()));

        explicit Rig(qint16 timeoutTicks = 2)
        {
            port.setPortText(QStringLiteral("Com") + QString::number(number));
            link.clock().setTimeoutTicks(timeoutTicks);
            exchange.setStatusSink([this](const QString &text) { statusTexts << text; });
            port.open();
        }
    };

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt"))); }

    void theRingTakesWhatFitsAndLosesNothing()
    {
        QByteArray port(1020, '.'); // through the ring beforehand, so that what follows wraps
        ReceiveRing ring;
        ring.setSource([&port](qint64 room) { return std::exchange(port, port.mid(room)).left(room); });
        while (ring.fill() > 0 || ring.RxCount() > 0)
            ring.ReadChar();
        const QByteArray sent = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(116);
        port = sent;
        QCOMPARE(ring.fill(), qint64(1023)); // one slot stays free, the rest waits in the port
        QByteArray taken;
        while (ring.RxCount() > 0)
            taken.append(ring.ReadChar());
        QCOMPARE(taken, sent);
        QCOMPARE(ring.ReadChar(), '\0');
        // Clearing forgets only what the ring holds.
        port = QByteArray(1023, 'x') + "kept";
        ring.fill();
        ring.clear();
        QCOMPARE(ring.ReadChar(), 'k');
    }

    void aCancelEndsEveryKindOfWaitAtOnceAndLetsOnlyEscapeOut()
    {
        Rig rig(WaitClock::DefaultTimeoutTicks);
        QByteArray text;
        QTimer::singleShot(100, &rig.link, [&rig] { rig.link.cancel(); });
        const QDeadlineTimer soon(1000);
        QCOMPARE(finish(rig.exchange.waitForPrompt(text, "> ")), PromptResult::Cancelled);
        QCOMPARE(finish(rig.exchange.sendChar('r', true)), SendResult::Cancelled);
        QCOMPARE(finish(rig.exchange.pause(5000)), false);
        finish(rig.exchange.letLineFallQuiet());
        QCOMPARE(finish(rig.exchange.sendChar('\x1b', false)), SendResult::Sent);
        QVERIFY(!soon.hasExpired());
        QTRY_COMPARE(rig.device.received(), QByteArray("\x1b"));
        QVERIFY(rig.statusTexts.isEmpty());
        rig.link.clearCancel();
        QCOMPARE(finish(rig.exchange.pause(50)), true);
    }

    void anEntryOfThePortListNamesItsPort_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name"); // a system's name, or a run-time port's path; empty: only read
        QTest::newRow("usb adapter") << "Com1 (ttyUSB0)" << 1 << "ttyUSB0";
        QTest::newRow("windows port") << "Com4" << 4 << "COM4";
        QTest::newRow("pseudo-terminal") << "Com17 (pts/7)" << 17 << "/dev/pts/7";
        QTest::newRow("empty list") << "" << 1 << "";
        QTest::newRow("every Com removed") << "ComCom7" << 7 << "";
        QTest::newRow("half to even below") << "Com2.5" << 2 << "";
        QTest::newRow("half to even above") << "Com3.5" << 4 << "";
    }
    void anEntryOfThePortListNamesItsPort()
    {
        QFETCH(QString, entry);
        QFETCH(int, number);
        QFETCH(QString, name);
        QCOMPARE(portNumberFromText(entry), number);
        if (!name.isEmpty())
            QCOMPARE(portEntryText(qint16(number), shortPortName(name)), entry);
    }

    void onlyReadWriteAndResourceErrorsMeanTheLineIsGone()
    {
        for (const auto error : {QSerialPort::WriteError, QSerialPort::ReadError, QSerialPort::ResourceError})
            QVERIFY(isConnectionLost(error));
        for (const auto error : {QSerialPort::NoError, QSerialPort::OpenError, QSerialPort::TimeoutError})
            QVERIFY(!isConnectionLost(error));
    }

    void thePortOpensOnceForTheChosenPortAndARescanLeavesItOpen()
    {
        Rig rig;
        PtyDevice other;
        const qint16 otherNumber = rig.port.directory().addRuntimePort(other.portPath());
        QCOMPARE(rig.port.open(), DevicePort::OpenResult::AlreadyOpen);
        // A rescan while a dialogue holds the port leaves it alone and tries the others aside.
        QVERIFY(rig.port.isAvailable(rig.number) && rig.port.isAvailable(otherNumber));
        QVERIFY(rig.port.rescanPorts().contains(
            QStringLiteral("Com%1 (%2)").arg(otherNumber).arg(shortPortName(other.portPath()))));
        QVERIFY(rig.port.isOpen());
        QVERIFY(rig.port.close());
        QVERIFY(!rig.port.close());
        QVERIFY(!rig.port.isOpen() && !rig.port.isAvailable(qint16(otherNumber + 1)));
        rig.port.setPortText(QStringLiteral("Com%1").arg(otherNumber + 1));
        QCOMPARE(rig.port.open(), DevicePort::OpenResult::Refused);
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(
            rig.port.openRefusal(),
            QStringLiteral("There is no port Com%1: choose one the port list offers.").arg(otherNumber + 1));
    }

    void adaptersAreNamedAndFoundByTheirSerialNumberOrStableLink()
    {
        PtyDevice adapter, simulated;
        QTemporaryDir byId;
        const QString stable = byId.filePath("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
        QVERIFY(QFile::link(adapter.portPath(), stable));
        PortDirectory ports;
        ports.setByIdFolder(byId.path());
        ports.setSystemPortSource([&] {
            return QList<SystemPort>{
                {adapter.portPath(), "ttyUSB0", {"FT232R USB UART", "FTDI", "A1B2C3", "0403", "6001", {}}}};
        });
        QCOMPARE(ports.numberOfSerial("A1B2C3"), 1);
        QCOMPARE(ports.numberOfSerial("A1B2C4"), 0);
        QCOMPARE(ports.addRuntimePort(stable), 1); // the same port, whatever its number
        QCOMPARE(ports.addRuntimePort(simulated.portPath(), "simulated Tavik"), 2);
        QCOMPARE(ports.entryText(2), "Com2 (simulated Tavik)");
        QCOMPARE(
            ports.descriptionLines(1),
            QStringList({"Path: " + adapter.portPath(), "Description: FT232R USB UART", "Manufacturer: FTDI",
                         "Serial number: A1B2C3", "USB ID: 0403:6001", "By id: " + stable}));
        QCOMPARE(ports.descriptionLines(2), QStringList{"Path: " + simulated.portPath()});
    }

    void aWaitEndsWhenTheLineDoes()
    {
        for (const bool hangUp : {false, true}) {
            Rig rig(WaitClock::DefaultTimeoutTicks);
            QTimer::singleShot(200, &rig.port,
                               [&] { hangUp ? rig.device.hangUp() : void(rig.port.close()); });
            QByteArray text;
            QCOMPARE(finish(rig.exchange.waitForPrompt(text, "> ")), PromptResult::TimedOut);
            QVERIFY(rig.link.clock().TimerTicks() <= WaitClock::DefaultTimeoutTicks);
            QCOMPARE(rig.port.lineLost(), hangUp);
            QCOMPARE(finish(rig.exchange.sendChar('r', true)), SendResult::NoEcho);
            QCOMPARE(rig.link.clock().TimerTicks(), 0);
        }
    }

    void theExchangeGivesItsResults_data()
    {
        QTest::addColumn<Exchange>("x");
        using X = Exchange;
        QTest::newRow("echo and more") << X{X::Char, "r", {"rnum"}, {}, 0, 0, "r", 3};
        QTest::newRow("echo second") << X{X::Char, "r", {"Rr"}, {}, 0, 2, "r", 1};
        QTest::newRow("no echo awaited") << X{X::Char, "\r", {"\r"}, {}, 0, 0, "\r", 1, false};
        QTest::newRow("1024 stale") << X{X::Char, "r", {"r"}, {}, 1024, 0, "r"};
        QTest::newRow("1025 stale") << X{X::Char, "r", {"r"}, {}, 1025, 3, ""};
        QTest::newRow("string unanswered") << X{X::String, "16", {}, {}, 0, 1, "1"};
        QTest::newRow("string echoed wrongly") << X{X::String, "123", {"1", "?"}, {}, 0, 2, "12"};
        QTest::newRow("string on a flood") << X{X::String, "12", {}, {}, 5000, 3, "", 1023};
        QTest::newRow("prompt cut") << X{X::Get, "(1-16): ",    {}, {"No (1-", "16): 5"}, 0,
                                         0,      "No (1-16): ", 1};
        QTest::newRow("another prompt") << X{X::Get, "(1-16): ", {}, {"(1-9): "}, 0, 1, "(1-9): "};
    }
    void theExchangeGivesItsResults()
    {
        QFETCH(Exchange, x);
        Rig rig(x.said.isEmpty() ? 2 : WaitClock::DefaultTimeoutTicks);
        for (int i = 0; i < x.said.size(); ++i)
            QTimer::singleShot(20 * (i + 1), &rig.device, [&, i] { rig.device.send(x.said.at(i)); });
        rig.device.setResponder([x, n = 0](char) mutable { return x.answers.value(n++); });
        rig.device.send(QByteArray(x.stale, 'z'));
        QTRY_COMPARE(rig.link.ring().RxCount() + rig.port.waiting(), x.stale);
        const int limit = rig.link.clock().timeoutTicks();
        const QDeadlineTimer soonest(100 * limit + 50, Qt::PreciseTimer);
        const double cpuBefore = processCpuMilliseconds();
        QByteArray text;
        const int result = x.call == Exchange::Get      ? int(finish(rig.exchange.waitForPrompt(text, x.text)))
                           : x.call == Exchange::String ? int(finish(rig.exchange.sendText(x.text, x.echo)))
                                                        : int(finish(rig.exchange.sendChar(x.text.at(0), x.echo)));
        QCOMPARE(result, x.result);
        const bool timedOut = x.result == 1;
        // A wait sleeps between the ticks: a full 3.1 s costs next to nothing.
        QVERIFY2(!timedOut || processCpuMilliseconds() - cpuBefore < 250, "the wait spun");
        // A wait times out at the tick after its limit (the 31st: 3.1 s), never sooner.
        QVERIFY(!timedOut || (rig.link.clock().TimerTicks() == limit + 1 && soonest.hasExpired()));
        QTest::qWait(20);
        QTRY_COMPARE(x.call == Exchange::Get ? text : rig.device.received(), x.received);
        QTRY_COMPARE(rig.link.ring().RxCount(), x.leftInRing);
        const bool statusShown = timedOut && x.call != Exchange::Get;
        QCOMPARE(rig.statusTexts, statusShown ? QStringList{PromptExchange::TimeoutText} : QStringList());
    }

    void aPauseLastsItsTime()
    {
        Rig rig;
        const QDeadlineTimer pause(50, Qt::PreciseTimer);
        rig.device.send("characters wake the pause, which goes on");
        QVERIFY(finish(rig.exchange.pause(50)));
        QVERIFY(pause.hasExpired());
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
