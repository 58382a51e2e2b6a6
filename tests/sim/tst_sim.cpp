// The simulated device on the wire, healthy and with each fault, and the relays every program shares.
#include "privateport.h"
#include "processrunner.h"
#include "taviksimulator.h"

#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

namespace
{

const QByteArray Asked = "\r\nRelay number (1-16): ";
// What the device prints when it is back at its menu.
const QByteArray Menu = "\r\n  r  Read relay\r\n  p  Program relay\r\n  c  PC control on/off\r\n"
                        "  l  Latch input\r\n  m  Momentary input\r\n> ";
const QByteArray Latching = "1\r\r\nRelay mode: Latching\r\nInput mode: NAND\r\nInput map: ";

// The program's end of the line: a real serial port (a terminal has no line rate), or a plain TCP connection.
struct Client {
    QSerialPort serial;
    QTcpSocket socket;
    QIODevice &port;
    QByteArray got;
    qint64 tookMs = 0;
    explicit Client(const QString &path) : port(path.startsWith("tcp://") ? (QIODevice &)socket : serial)
    {
        QObject::connect(&port, &QIODevice::readyRead, [this] { got += port.readAll(); });
        if (&port == &socket) {
            const QUrl url(path);
            socket.connectToHost(url.host(), quint16(url.port()));
            socket.waitForConnected(3000);
        } else {
            serial.setPortName(privatePortPath(path));
            serial.open(QIODevice::ReadWrite);
        }
    }
    bool lost() const
    {
        return &port == &socket ? socket.state() == QAbstractSocket::UnconnectedState
                                : serial.error() != QSerialPort::NoError;
    }
    // Everything that came once `count` characters were in and the line fell quiet.
    QByteArray exchange(const QByteArray &sent, qsizetype count)
    {
        QElapsedTimer clock;
        clock.start();
        port.write(sent);
        (void)QTest::qWaitFor([&] { return got.size() >= count; }, 3000);
        tookMs = clock.elapsed();
        QTest::qWait(60);
        return std::exchange(got, {});
    }
};

} // namespace

class TestSim : public QObject
{
    Q_OBJECT
private slots:
    void theMenuOnTheWire()
    {
        TavikSimulator sim;
        QVERIFY(sim.start());
        sim.setRelay(0, {10, 9, 0x801, 11, 0xC00, 16559999, true, true});
        sim.setRelay(2, {1, 0, 0, 0, 0, 500});
        Client client(sim.portPath());
        const QList<QPair<QByteArray, QByteArray>> session = {
            {"x\r9", "x\r9"},
            {"r1\r", "r" + Asked + Latching +
                         "100000000001\r\nUnlatch Input mode: NIL\r\nUnlatch Input map: 110000000000\r\n"
                         "Relay counter: 0xFCAF7F\r\nRelay status: Closed\r\nPC controlled: Yes\r\n" + Menu},
            {"r2\x1b", "r" + Asked + "2\x1b" + Menu},
            {"p3\r3\r1\r2\r4\r8\r46\r1\r2\r3\r4\ry",
             "p" + Asked +
                 "3\r\r\nRelay mode (1-9): 3\r\r\nInput group A (0-15): 1\r\r\nInput group B "
                 "(0-15): 2\r\r\nInput group C (0-15): 4\r\r\nInput mode (0-15): 8\r\r\nClosure hours "
                 "(0-45): 46\r\r\nOut of range\r\nClosure hours (0-45): 1\r\r\nClosure minutes (0-59): "
                 "2\r\r\nClosure seconds (0-59): 3\r\r\nClosure milliseconds (x 10) (0-99): 4\r\r\n"
                 "Save relay configuration (y/n): y\r\nRelay configuration saved\r\n" + Menu},
            {"l6\rc6\rl6\rm6\r", "l" + Asked + "6\r\r\nRelay 6 is not under PC control\r\n" + Menu + "c" +
                                     Asked + "6\r\r\nRelay 6 PC control on\r\n" + Menu + "l" + Asked +
                                     "6\r\r\nRelay 6 input latched, contact Closed\r\n" + Menu + "m" + Asked +
                                     "6\r\r\nRelay 6 input pulsed\r\n" + Menu},
        };
        for (const auto &[sent, reply] : session)
            QCOMPARE(client.exchange(sent, reply.size()), reply);
        QCOMPARE(sim.relay(2), SimRelay({3, 8, 0x421, 0, 0, 372304}));
    }

    void eachFaultOnTheWire_data()
    {
        QTest::addColumn<SimFaults>("faults");
        QTest::addColumn<QStringList>("options"); // tavik-sim's for the same faults; none: the library
        QTest::addColumn<bool>("tcp");            // the program serves on TCP
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("reply"); // what comes first; a device that stops sends nothing more
        const QByteArray report = "r" + Asked + Latching,
                         unlatch = "00000\r\nUnlatch Input mode: NIL\r\nUnlatch Input map: ";
        const auto row = [](const QByteArray &name, SimFaults f, QStringList options, QByteArray sent,
                            QByteArray reply, bool tcp = false) {
            QTest::newRow(name.constData()) << f << options << tcp << sent << reply;
        };
        row("silent", {.silent = true}, {"--silent"}, "r1\r", "");
        row("wrong echo once", {.wrongEchoFor = 'r', .wrongEchoTimes = 1}, {"--wrong-echo", "r"}, "r\x1br",
            "?" + Asked + "\x1b" + Menu + "r" + Asked);
        row("wrong echo at input 2", {.wrongEchoWith = '#', .wrongEchoAtInput = 2}, {}, "abxy", "ab#y");
        row("both map lines cut", {.shortMapTimes = 2}, {"--short-map", "2"}, "r1\r",
            report + unlatch + "11000\r\n");
        row("banners", {.banners = true}, {"--banners"}, "r\x1b?",
            "r\r\n\r\n" + Asked + "\x1b\r\n\r\n================================\r\n  Tavik Relay Expander\r\n"
            "================================\r\n" + Menu + "?\r\n\r\n");
        row("escape echoed, no menu", {.menuAfterCommand = false}, {"--no-menu"}, "r\x1bx",
            "r" + Asked + "\x1bx");
        row("escape swallowed, no menu", {.echoEscape = false, .menuAfterCommand = false},
            {"--no-escape-echo", "--no-menu"}, "r\x1bx", "r" + Asked + "x");
        row("silence after 10", {.silentAfterOutput = 10}, {}, "r1\r", report.left(10));
        for (const bool tcp : {false, true}) {
            const QByteArray on = tcp ? " on TCP" : "";
            row("pieces" + on, {.chunkSize = 2, .chunkDelayMs = 5}, {"--chunk", "2", "--chunk-delay", "5"},
                "r1\r", report, tcp);
            row("line rate" + on, {.paced = true}, {"--paced"}, "r1\r", report, tcp);
            row("flood" + on, {.flood = true}, {"--flood"}, "", QByteArray(300, '#'), tcp);
            row("hang-up at 30" + on, {.hangUpAfterOutput = 30}, {"--hang-up-after", "30"}, "r1\r",
                report.left(30), tcp);
        }
    }
    void eachFaultOnTheWire()
    {
        QFETCH(SimFaults, faults);
        QFETCH(QStringList, options);
        QFETCH(bool, tcp);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, reply);
        QTemporaryDir dir;
        const QString state = dir.filePath("state"), link = dir.filePath("tavik");
        TavikSimulator sim;
        sim.setStateFile(state);
        sim.setRelay(0, {10, 9, 0x003, 11, 0xC00}); // Latching, for its two map lines
        QProcess program;
        QString address = link;
        if (options.isEmpty()) {
            QVERIFY(sim.start());
            sim.setFaults(faults);
            address = sim.portPath();
        } else if (tcp) {
            program.start(TAVIK_SIM_PROGRAM, options << "--state" << state << "--listen" << "0");
            QVERIFY(program.waitForReadyRead(5000));
            address = QString::fromLatin1(program.readLine().trimmed());
            QVERIFY2(address.startsWith("tcp://127.0.0.1:"), qPrintable(address));
        } else {
            program.start(TAVIK_SIM_PROGRAM, options << "--state" << state << "--link" << link);
            QVERIFY(
                QTest::qWaitFor([&] { return program.readAllStandardOutput().contains("Linked as"); }, 5000));
        }
        Client client(address);
        const QByteArray got = client.exchange(sent, reply.size());
        const bool stops = faults.silent || faults.silentAfterOutput >= 0 || faults.hangUpAfterOutput >= 0;
        QCOMPARE(stops ? got : got.left(reply.size()), reply);
        // Pieces and the line rate may only slow the output down. A paced writer that was kept waiting by a
        // loaded machine catches up in a burst, so half the time is what it must at least take.
        const double lineMs = faults.paced ? reply.size() * 1000.0 / 5760 : 0;
        const double pausesMs =
            faults.chunkSize ? (reply.size() / faults.chunkSize - 1) * faults.chunkDelayMs : 0;
        QVERIFY(client.tookMs >= 0.5 * std::max(lineMs, pausesMs));
        if (faults.hangUpAfterOutput >= 0) {
            QVERIFY(QTest::qWaitFor([&] { return client.lost(); }, 3000));
            // On TCP the hang-up drops one program; the next is served.
            if (tcp)
                QCOMPARE(Client(address).exchange(sent, reply.size()).left(reply.size()), reply);
        }
        if (!options.isEmpty()) {
            program.terminate();
            QVERIFY(program.waitForFinished(5000) && program.exitCode() == 0);
            QVERIFY(!QFileInfo(link).isSymLink());
        } else if (faults.hangUpAfterOutput < 0) { // taking the faults away heals the device
            sim.setFaults({});
            client.port.write("x");
            QTRY_VERIFY(client.got.endsWith('x'));
        }
    }

    // On TCP a program that floods without taking the echoes is hung up on before the simulator grows, and a
    // silent one after its idle time (a second program: tst_tavikctl).
    void eachClientIsBounded_data()
    {
        QTest::addColumn<QByteArray>("sent"); // again and again, up to 64 MB; empty: nothing
        QTest::newRow("flooding") << QByteArray(1 << 20, '\0');
        QTest::newRow("idle") << QByteArray();
    }
    void eachClientIsBounded()
    {
        QFETCH(QByteArray, sent);
        QProcess program;
        program.start(TAVIK_SIM_PROGRAM, {"--listen", "0", "--idle", sent.isEmpty() ? "1" : "60"});
        QVERIFY(program.waitForReadyRead(5000));
        Client client(QString::fromLatin1(program.readLine().trimmed()));
        QObject::disconnect(&client.socket, &QIODevice::readyRead, nullptr, nullptr); // takes no echo
        client.socket.setReadBufferSize(4096);
        for (qint64 total = 0; !sent.isEmpty() && !client.lost() && total < (64 << 20); total += sent.size())
            client.socket.write(sent), client.socket.waitForBytesWritten(5000);
        QTRY_VERIFY_WITH_TIMEOUT(client.lost(), 10000);
        program.terminate();
        QVERIFY(program.waitForFinished(5000));
    }

    // A state file that is not the simulator's is refused, by tavik-sim and by the library, and left as it was.
    void aForeignStateFileIsRefusedUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a configuration file")
            << QByteArray("Date created: 01/02/2024\r\nRelay 1, 1, 0, 000000000000\r\n");
        QTest::newRow("a state file cut short") << QByteArray("tavik-sim-state 1\n1 0 0 0 0 0 0 0\n");
    }
    void aForeignStateFileIsRefusedUntouched()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(dir.filePath("site.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        const ProcessRun run = runProcess({TAVIK_SIM_PROGRAM, {"--state", file.fileName(), "--listen", "0"}, {}});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "tavik-sim: " + file.fileName().toUtf8() +
                              " is not a file of the simulator's relays; it is left as it is\n");
        TavikSimulator sim;
        sim.setStateFile(file.fileName());
        sim.setRelay(0, {2});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    // The window, tavikctl and tavik-sim keep the built-in device's relays in one file, whatever its name.
    void everyProgramSharesTheRelays()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName("tavikgui");
        TavikSimulator window;
        window.setStateFile(TavikSimulator::defaultStateFile());
        window.setRelay(6, {4, 9, 0x0A5, 0, 0, 12345});
        QCoreApplication::setApplicationName("tavikctl");
        TavikSimulator commandLine;
        commandLine.setStateFile(TavikSimulator::defaultStateFile());
        QVERIFY(commandLine.start());
        QCOMPARE(commandLine.relay(6), window.relay(6));
        QVERIFY(QFile::remove(TavikSimulator::defaultStateFile()));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
