#include "base/errorlog.h"
#include "cputime.h"
#include "link/connectionpolicy.h"
#include "link/devicelink.h"
#include "link/portnumber.h"
#include "link/promptexchange.h"
#include "link/wait.h"
#include "privateport.h"
#include "ptydevice.h"

#include <QtTest>

// One call of SendChar (a text of one character), SendString or GetString (the text is the prompt).
struct Exchange {
    enum Call { Char, String, Get } call;
    QByteArray text;
    QByteArrayList answers; // to each character the device gets, then silence
    QByteArrayList said;    // by the device of itself, 20 ms apart; the wait is then the full 3.1 s
    int stale = 0, result = 0;
    QByteArray received; // by the device; for GetString, the text collected
    int leftInRing = 0;
    bool echo = true, interrupted = false; // interrupted: by another dialogue sending "c" meanwhile
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
            port.OpenSerPort();
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

    void waitsNestAndEachEndsAsleepAtTheTickAfterItsLimit()
    {
        WaitClock clock;
        clock.setTimeoutTicks(4);
        qint16 outerBefore = -1, inner = -1, outerAfter = -1;
        QTimer::singleShot(150, &clock, [&] {
            outerBefore = clock.TimerTicks();
            for (clock.startTicks(); !clock.waitExpired();)
                clock.awaitActivity();
            inner = clock.TimerTicks();
            clock.stopTicks();
            outerAfter = clock.TimerTicks();
        });
        const double cpuBefore = processCpuMilliseconds();
        int passes = 0;
        for (clock.startTicks(); !clock.waitExpired(); ++passes)
            clock.awaitActivity();
        clock.stopTicks();
        QCOMPARE(inner, 5);
        QVERIFY(outerBefore > 0 && outerAfter == outerBefore);
        QCOMPARE(clock.TimerTicks(), 5);
        QVERIFY2(passes < 10 && processCpuMilliseconds() - cpuBefore < 250, "the wait spun");
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

    void thePortOpensOnceForTheChosenPortAndNotDuringARescan()
    {
        Rig rig;
        PtyDevice other;
        const qint16 otherNumber = rig.port.directory().addRuntimePort(other.portPath());
        QCOMPARE(rig.port.OpenSerPort(), 0);
        // A rescan from a dialogue's wait leaves its port alone and tries the others aside.
        QVERIFY(rig.port.PortAvailable(rig.number) && rig.port.PortAvailable(otherNumber));
        QCOMPARE(rig.port.CloseSerPort(), 1);
        QCOMPARE(rig.port.CloseSerPort(), 0);
        qint16 opened = -1;
        QTimer::singleShot(0, &rig.port, [&rig, &opened] { opened = rig.port.OpenSerPort(); });
        QVERIFY(rig.port.rescanPorts().contains(
            QStringLiteral("Com%1 (%2)").arg(otherNumber).arg(shortPortName(other.portPath()))));
        QCOMPARE(opened, 0);
        QVERIFY(!rig.port.isOpen() && !rig.port.PortAvailable(qint16(otherNumber + 1)));
        rig.port.setPortText(QStringLiteral("Com%1").arg(otherNumber + 1));
        QCOMPARE(rig.port.OpenSerPort(), -1);
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
                               [&] { hangUp ? rig.device.hangUp() : void(rig.port.CloseSerPort()); });
            QByteArray text;
            QCOMPARE(rig.exchange.GetString(text, "> "), 1);
            QVERIFY(rig.link.clock().TimerTicks() <= WaitClock::DefaultTimeoutTicks);
            QCOMPARE(rig.port.lineLost(), hangUp);
            QCOMPARE(rig.exchange.SendChar('r', true), 1);
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
        QTest::newRow("interrupted") << X{X::Char, "r", {"", "c"}, {}, 0, 2, "rc", 0, true, true};
        QTest::newRow("string unanswered") << X{X::String, "16", {}, {}, 0, 2, "1"};
        QTest::newRow("string echoed wrongly") << X{X::String, "123", {"1", "?"}, {}, 0, 3, "12"};
        QTest::newRow("string on a flood") << X{X::String, "12", {}, {}, 5000, 4, "", 1023};
        QTest::newRow("prompt cut") << X{X::Get, "(1-16): ",    {}, {"No (1-", "16): 5"}, 0,
                                         0,      "No (1-16): ", 1};
        QTest::newRow("another prompt") << X{X::Get, "(1-16): ", {}, {"(1-9): "}, 0, 1, "(1-9): "};
        QTest::newRow("prompt interrupted") << X{X::Get, "> ", {"c"}, {}, 0, 2, "", 0, true, true};
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
        qint16 inner = x.interrupted ? -1 : 0;
        if (x.interrupted)
            QTimer::singleShot(50, &rig.link, [&rig, &inner] { inner = rig.exchange.SendChar('c', true); });
        const qint16 limit = rig.link.clock().timeoutTicks();
        const QDeadlineTimer soonest(100 * limit + 50, Qt::PreciseTimer);
        QByteArray text;
        const qint16 result = x.call == Exchange::Get      ? rig.exchange.GetString(text, x.text)
                              : x.call == Exchange::String ? rig.exchange.SendString(x.text, x.echo)
                                                           : rig.exchange.SendChar(x.text.at(0), x.echo);
        QCOMPARE(result, x.result);
        QCOMPARE(inner, 0);
        const bool timedOut = x.result == (x.call == Exchange::String ? 2 : 1);
        // A wait times out at the tick after its limit (the 31st: 3.1 s), never sooner.
        QVERIFY(!timedOut || (rig.link.clock().TimerTicks() == limit + 1 && soonest.hasExpired()));
        QTest::qWait(20);
        QTRY_COMPARE(x.call == Exchange::Get ? text : rig.device.received(), x.received);
        QTRY_COMPARE(rig.link.ring().RxCount(), x.leftInRing);
        const bool statusShown = timedOut && x.call != Exchange::Get;
        QCOMPARE(rig.statusTexts, statusShown ? QStringList{PromptExchange::TimeoutText} : QStringList());
    }

    // Last on purpose: once the application is told to quit, no event loop starts.
    void aPauseLastsItsTimeUnlessTheApplicationQuitsAndSoDoesAWait()
    {
        const QDeadlineTimer pause(50, Qt::PreciseTimer);
        Wait(50);
        QVERIFY(pause.hasExpired());
        QCoreApplication::exit(0);
        WaitClock clock;
        clock.startTicks();
        clock.awaitActivity();
        QVERIFY(clock.waitExpired());
        const QDeadlineTimer cutShort(2500);
        Wait(5000);
        QVERIFY2(!cutShort.hasExpired(), "the pause spun on until its time was up");
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
