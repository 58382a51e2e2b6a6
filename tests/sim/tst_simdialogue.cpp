// The simulated device's menu as a program sees it through a real serial
// port: echo, escape, the read report, programming, PC control and the
// relays it keeps in its state file.

#include "simclient.h"
#include "taviksimulator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <ctime>
#include <memory>
#include <thread>

Q_DECLARE_METATYPE(SimRelay)

namespace
{

SimRelay makeRelay(int mode, int gate, quint16 map, quint32 counter = 0, int unlatchGate = 0,
                   quint16 unlatchMap = 0)
{
    SimRelay relay;
    relay.mode = mode;
    relay.gate = gate;
    relay.map = map;
    relay.counter = counter;
    relay.unlatchGate = unlatchGate;
    relay.unlatchMap = unlatchMap;
    return relay;
}

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

} // namespace

class TestSimDialogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyCharacterIsEchoedFirstAndUnchanged_data();
    void everyCharacterIsEchoedFirstAndUnchanged();
    void escapeReturnsToTheMenuStartWithoutAReply();
    void aDefaultRelayReportsMomentaryOrWithAnEmptyMap();
    void theReportNamesEveryStoredValue_data();
    void theReportNamesEveryStoredValue();
    void programmingAsksThePromptsOfTheModeAndStoresTheAnswers_data();
    void programmingAsksThePromptsOfTheModeAndStoresTheAnswers();
    void anAnswerOtherThanYesDiscardsTheProgramming();
    void anAnswerOutOfRangeIsAskedAgain_data();
    void anAnswerOutOfRangeIsAskedAgain();
    void latchAndMomentaryActOnlyUnderPcControl();
    void theRelaysOutliveTheSimulatorInItsStateFile();
    void aStateFileThatDoesNotReadIsIgnored_data();
    void aStateFileThatDoesNotReadIsIgnored();
    void theDeviceReceivesExactlyWhatWasSent();
    void anIdleSimulatorCostsNoCpu();
    void anotherThreadMayDriveTheDeviceWhileItServes();

private:
    QByteArray readRelay(int number);
    QByteArray answer(const QByteArray &prompt, const QByteArray &value);

    std::unique_ptr<TavikSimulator> m_sim;
    std::unique_ptr<SimClient> m_client;
};

void TestSimDialogue::init()
{
    m_sim = std::make_unique<TavikSimulator>();
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    QVERIFY(m_sim->portPath().startsWith("/dev/pts/"));
    m_client = std::make_unique<SimClient>(m_sim->portPath());
    QVERIFY2(m_client->isOpen(), qPrintable(m_client->port().errorString()));
}

void TestSimDialogue::cleanup()
{
    m_client.reset();
    m_sim.reset();
}

QByteArray TestSimDialogue::readRelay(int number)
{
    m_client->send("r");
    if (m_client->awaitText("number (1-16): ").isEmpty())
        return {};
    m_client->send(QByteArray::number(number) + "\r");
    const QByteArray report = m_client->awaitText("controlled: ");
    return report + m_client->awaitText("\r\n");
}

// Awaits the prompt, answers it and checks the answer's echo.
QByteArray TestSimDialogue::answer(const QByteArray &prompt, const QByteArray &value)
{
    const QByteArray before = m_client->awaitText(prompt);
    if (before.isEmpty())
        return {};
    m_client->send(value + "\r");
    if (m_client->awaitCount(value.size() + 1) != value + "\r")
        return {};
    return before;
}

void TestSimDialogue::everyCharacterIsEchoedFirstAndUnchanged_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("an unknown letter is echoed and ignored") << QByteArray("x") << QByteArray("x");
    QTest::newRow("a carriage return at the menu") << QByteArray("\r") << QByteArray("\r");
    QTest::newRow("a command is echoed before its prompt")
        << QByteArray("r") << QByteArray("r\r\nRelay number (1-16): ");
    QTest::newRow("digits of the relay number")
        << QByteArray("c12") << QByteArray("c\r\nRelay number (1-16): 12");
}

void TestSimDialogue::everyCharacterIsEchoedFirstAndUnchanged()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, reply);

    m_client->send(sent);
    QCOMPARE(m_client->awaitCount(reply.size()), reply);
    QCOMPARE(m_client->collectFor(100), QByteArray());
}

void TestSimDialogue::escapeReturnsToTheMenuStartWithoutAReply()
{
    m_sim->setRelay(1, makeRelay(2, 0, 0));
    m_client->send("r");
    QVERIFY(!m_client->awaitText("number (1-16): ").isEmpty());
    m_client->send("1");
    QCOMPARE(m_client->awaitCount(1), QByteArray("1"));

    m_client->send("\x1b");
    QCOMPARE(m_client->collectFor(150), QByteArray());

    // Without the escape these digits would make relay 12.
    const QByteArray report = readRelay(2);
    QVERIFY2(report.startsWith("2\r\r\nRelay mode: Toggle\r\n"), report.constData());
}

void TestSimDialogue::aDefaultRelayReportsMomentaryOrWithAnEmptyMap()
{
    m_client->send("r");
    QCOMPARE(m_client->awaitText("number (1-16): "), QByteArray("r\r\nRelay number (1-16): "));
    m_client->send("1\r");
    QCOMPARE(m_client->awaitText("> "), QByteArray("1\r\r\n"
                                                   "Relay mode: Momentary\r\n"
                                                   "Input mode: OR\r\n"
                                                   "Input map: 000000000000\r\n"
                                                   "Relay counter: 0x0\r\n"
                                                   "Relay status: Open\r\n"
                                                   "PC controlled: No\r\n"
                                                   "> "));
}

void TestSimDialogue::theReportNamesEveryStoredValue_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<SimRelay>("relay");
    QTest::addColumn<QByteArray>("lines");

    QTest::newRow("toggle with AND on inputs 0 and 11")
        << 2 << makeRelay(2, 1, 0x801)
        << QByteArray(
               "Relay mode: Toggle\r\nInput mode: AND\r\nInput map: 100000000001\r\nRelay counter: 0x0\r\n");
    QTest::newRow("leading edge XOR with a counter")
        << 3 << makeRelay(3, 2, 0x00F, 12345)
        << QByteArray("Relay mode: Leading-Edge\r\nInput mode: XOR\r\nInput map: 000000001111\r\n"
                      "Relay counter: 0x3039\r\n");
    QTest::newRow("debounce IL at the longest time")
        << 9 << makeRelay(9, 3, 0x0F0, 16559999)
        << QByteArray("Relay mode: Debounce\r\nInput mode: IL\r\nInput map: 000011110000\r\n"
                      "Relay counter: 0xFCAF7F\r\n");
    QTest::newRow("trailing edge NOR")
        << 4 << makeRelay(4, 8, 0x400) << QByteArray("Relay mode: Trailing-Edge\r\nInput mode: NOR\r\n");
    QTest::newRow("either edge NAND")
        << 5 << makeRelay(5, 9, 0) << QByteArray("Relay mode: Either-Edge\r\nInput mode: NAND\r\n");
    QTest::newRow("pulse stretch NXOR")
        << 6 << makeRelay(6, 10, 0) << QByteArray("Relay mode: Pulse-Stretch\r\nInput mode: NXOR\r\n");
    QTest::newRow("min time NIL") << 7 << makeRelay(7, 11, 0)
                                  << QByteArray("Relay mode: Min-Time\r\nInput mode: NIL\r\n");
    QTest::newRow("max time on relay 16")
        << 16 << makeRelay(8, 0, 0) << QByteArray("Relay mode: Max-Time\r\n");
    QTest::newRow("latching reports its unlatch gate and map")
        << 10 << makeRelay(10, 9, 0x003, 0, 11, 0xC00)
        << QByteArray("Relay mode: Latching\r\nInput mode: NAND\r\nInput map: 000000000011\r\n"
                      "Unlatch Input mode: NIL\r\nUnlatch Input map: 110000000000\r\n"
                      "Relay counter: 0x0\r\nRelay status: Open\r\nPC controlled: No\r\n");
    SimRelay closedUnderPc = makeRelay(1, 0, 0);
    closedUnderPc.closed = true;
    closedUnderPc.pcControl = true;
    QTest::newRow("closed and under PC control")
        << 1 << closedUnderPc << QByteArray("Relay status: Closed\r\nPC controlled: Yes\r\n");
}

void TestSimDialogue::theReportNamesEveryStoredValue()
{
    QFETCH(int, number);
    QFETCH(SimRelay, relay);
    QFETCH(QByteArray, lines);

    m_sim->setRelay(number - 1, relay);
    const QByteArray report = readRelay(number);
    QVERIFY2(report.contains(lines), report.constData());
}

void TestSimDialogue::programmingAsksThePromptsOfTheModeAndStoresTheAnswers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QList<QByteArray>>("dialogue"); // prompt, answer, prompt, answer, ...
    QTest::addColumn<SimRelay>("stored");
    QTest::addColumn<QByteArray>("lines");

    const QList<QByteArray> start = {"Relay number (1-16): "};
    QTest::newRow("momentary asks no time and keeps its counter")
        << 1 << QList<QByteArray>{"Relay number (1-16): ",  "1",  "Relay mode (1-9): ",     "1",
                                  "Input group A (0-15): ", "15", "Input group B (0-15): ", "0",
                                  "Input group C (0-15): ", "0",  "Input mode (0-15): ",    "0"}
        << makeRelay(1, 0, 0x00F, 500)
        << QByteArray("Relay mode: Momentary\r\nInput mode: OR\r\nInput map: 000000001111\r\nRelay counter: "
                      "0x1F4\r\n");
    QTest::newRow("toggle with NIL on input 9")
        << 12 << QList<QByteArray>{"Relay number (1-16): ",  "12", "Relay mode (1-9): ",     "2",
                                   "Input group A (0-15): ", "0",  "Input group B (0-15): ", "0",
                                   "Input group C (0-15): ", "2",  "Input mode (0-15): ",    "11"}
        << makeRelay(2, 11, 0x200, 500)
        << QByteArray("Relay mode: Toggle\r\nInput mode: NIL\r\nInput map: 001000000000\r\n");
    QTest::newRow("leading edge takes hours to hundredths")
        << 3
        << QList<QByteArray>{"Relay number (1-16): ",
                             "3",
                             "Relay mode (1-9): ",
                             "3",
                             "Input group A (0-15): ",
                             "1",
                             "Input group B (0-15): ",
                             "2",
                             "Input group C (0-15): ",
                             "4",
                             "Input mode (0-15): ",
                             "8",
                             "Closure hours (0-45): ",
                             "1",
                             "Closure minutes (0-59): ",
                             "2",
                             "Closure seconds (0-59): ",
                             "3",
                             "Closure milliseconds (x 10) (0-99): ",
                             "4"}
        << makeRelay(3, 8, 0x421, 372304)
        << QByteArray("Relay mode: Leading-Edge\r\nInput mode: NOR\r\nInput map: 010000100001\r\n"
                      "Relay counter: 0x5AE50\r\n");
    QTest::newRow("debounce at the longest time")
        << 16
        << QList<QByteArray>{"Relay number (1-16): ",
                             "16",
                             "Relay mode (1-9): ",
                             "9",
                             "Input group A (0-15): ",
                             "0",
                             "Input group B (0-15): ",
                             "0",
                             "Input group C (0-15): ",
                             "15",
                             "Input mode (0-15): ",
                             "3",
                             "Closure hours (0-45): ",
                             "45",
                             "Closure minutes (0-59): ",
                             "59",
                             "Closure seconds (0-59): ",
                             "59",
                             "Closure milliseconds (x 10) (0-99): ",
                             "99"}
        << makeRelay(9, 3, 0xF00, 16559999)
        << QByteArray("Relay mode: Debounce\r\nInput mode: IL\r\nInput map: 111100000000\r\nRelay counter: "
                      "0xFCAF7F\r\n");
    QTest::newRow("latching takes mode 10 and the unlatch side")
        << 5 << QList<QByteArray>{"Relay number (1-16): ",    "5",  "Relay mode (1-9): ",       "10",
                                  "Input group A (0-15): ",   "3",  "Input group B (0-15): ",   "0",
                                  "Input group C (0-15): ",   "0",  "Input mode (0-15): ",      "9",
                                  "Unlatch group A (0-15): ", "0",  "Unlatch group B (0-15): ", "0",
                                  "Unlatch group C (0-15): ", "12", "Unlatch mode (0-15): ",    "10"}
        << makeRelay(10, 9, 0x003, 500, 10, 0xC00)
        << QByteArray(
               "Relay mode: Latching\r\nInput mode: NAND\r\nInput map: 000000000011\r\n"
               "Unlatch Input mode: NXOR\r\nUnlatch Input map: 110000000000\r\nRelay counter: 0x1F4\r\n");
}

void TestSimDialogue::programmingAsksThePromptsOfTheModeAndStoresTheAnswers()
{
    QFETCH(int, number);
    QFETCH(QList<QByteArray>, dialogue);
    QFETCH(SimRelay, stored);
    QFETCH(QByteArray, lines);

    // A counter from before, to show which modes replace it.
    m_sim->setRelay(number - 1, makeRelay(1, 0, 0, 500));
    m_client->send("p");
    QCOMPARE(m_client->awaitCount(1), QByteArray("p"));
    for (int i = 0; i < dialogue.size(); i += 2) {
        const QByteArray before = answer(dialogue[i], dialogue[i + 1]);
        QVERIFY2(!before.isEmpty(), dialogue[i].constData());
        // Nothing but line ends stands between one answer and the next prompt.
        QCOMPARE(before, "\r\n" + dialogue[i]);
    }
    QCOMPARE(m_client->awaitText("(y/n): "), QByteArray("\r\nSave relay configuration (y/n): "));
    QCOMPARE(m_sim->relay(number - 1), makeRelay(1, 0, 0, 500));
    m_client->send("y");
    QCOMPARE(m_client->awaitText("> "), QByteArray("y\r\nRelay configuration saved\r\n> "));

    QCOMPARE(m_sim->relay(number - 1), stored);
    const QByteArray report = readRelay(number);
    QVERIFY2(report.contains(lines), report.constData());
}

void TestSimDialogue::anAnswerOtherThanYesDiscardsTheProgramming()
{
    m_client->send("p");
    for (const QByteArray value : {"4", "2", "15", "15", "15", "1"})
        m_client->send(value + "\r");
    QVERIFY(!m_client->awaitText("(y/n): ").isEmpty());
    m_client->send("n");
    QCOMPARE(m_client->awaitText("> "), QByteArray("n\r\nRelay configuration discarded\r\n> "));
    QCOMPARE(m_sim->relay(3), SimRelay());
}

void TestSimDialogue::anAnswerOutOfRangeIsAskedAgain_data()
{
    QTest::addColumn<QList<QByteArray>>("answers");
    QTest::addColumn<QByteArray>("prompt");

    QTest::newRow("relay 17") << QList<QByteArray>{"17"} << QByteArray("Relay number (1-16): ");
    QTest::newRow("relay 0") << QList<QByteArray>{"0"} << QByteArray("Relay number (1-16): ");
    QTest::newRow("no digits") << QList<QByteArray>{""} << QByteArray("Relay number (1-16): ");
    QTest::newRow("mode 11") << QList<QByteArray>{"1", "11"} << QByteArray("Relay mode (1-9): ");
    QTest::newRow("group 16") << QList<QByteArray>{"1", "1", "16"} << QByteArray("Input group A (0-15): ");
    QTest::newRow("gate 5 has no name")
        << QList<QByteArray>{"1", "1", "0", "0", "0", "5"} << QByteArray("Input mode (0-15): ");
    QTest::newRow("hours 46") << QList<QByteArray>{"1", "3", "0", "0", "0", "0", "46"}
                              << QByteArray("Closure hours (0-45): ");
}

void TestSimDialogue::anAnswerOutOfRangeIsAskedAgain()
{
    QFETCH(QList<QByteArray>, answers);
    QFETCH(QByteArray, prompt);

    m_client->send("p");
    for (const QByteArray &value : answers)
        m_client->send(value + "\r");
    const QByteArray wrong = answers.last() + "\r";
    QVERIFY(!m_client->awaitText(prompt + wrong).isEmpty());
    QCOMPARE(m_client->awaitText(prompt), "\r\nOut of range\r\n" + prompt);
    QCOMPARE(m_client->collectFor(100), QByteArray());
}

void TestSimDialogue::latchAndMomentaryActOnlyUnderPcControl()
{
    const auto command = [this](const QByteArray &character) {
        m_client->send(character);
        m_client->awaitText("number (1-16): ");
        m_client->send("6\r");
        return m_client->awaitText("> ");
    };

    QCOMPARE(command("l"), QByteArray("6\r\r\nRelay 6 is not under PC control\r\n> "));
    QCOMPARE(m_sim->relay(5).closed, false);

    QCOMPARE(command("c"), QByteArray("6\r\r\nRelay 6 PC control on\r\n> "));
    QCOMPARE(m_sim->relay(5).pcControl, true);
    QVERIFY(readRelay(6).contains("PC controlled: Yes\r\n"));

    QCOMPARE(command("l"), QByteArray("6\r\r\nRelay 6 input latched, contact Closed\r\n> "));
    QCOMPARE(m_sim->relay(5).closed, true);
    QCOMPARE(command("m"), QByteArray("6\r\r\nRelay 6 input pulsed\r\n> "));
    QCOMPARE(m_sim->relay(5).closed, true);
    QVERIFY(readRelay(6).contains("Relay status: Closed\r\n"));
    QCOMPARE(command("l"), QByteArray("6\r\r\nRelay 6 input latched, contact Open\r\n> "));

    QCOMPARE(command("c"), QByteArray("6\r\r\nRelay 6 PC control off\r\n> "));
    QCOMPARE(m_sim->relay(5).pcControl, false);
    QCOMPARE(command("m"), QByteArray("6\r\r\nRelay 6 is not under PC control\r\n> "));
}

void TestSimDialogue::theRelaysOutliveTheSimulatorInItsStateFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("state.txt");
    m_client.reset();
    m_sim = std::make_unique<TavikSimulator>();
    m_sim->setStateFile(path);
    QVERIFY(m_sim->start());
    m_client = std::make_unique<SimClient>(m_sim->portPath());
    m_client->send("p7\r3\r1\r0\r0\r2\r0\r0\r1\r50\ry");
    QVERIFY(!m_client->awaitText("saved\r\n").isEmpty());
    m_client->send("c2\r");
    QVERIFY(!m_client->awaitText("control on\r\n").isEmpty());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("tavik-sim-state 1"));
    QCOMPARE(lines.value(2), QByteArray("1 0 0 0 0 0 0 1"));
    QCOMPARE(lines.value(7), QByteArray("3 2 1 0 0 150 0 0"));

    m_client.reset();
    m_sim = std::make_unique<TavikSimulator>();
    m_sim->setStateFile(path);
    QVERIFY(m_sim->start());
    QCOMPARE(m_sim->relay(6), makeRelay(3, 2, 0x001, 150));
    QCOMPARE(m_sim->relay(1).pcControl, true);
    m_client = std::make_unique<SimClient>(m_sim->portPath());
    QVERIFY(readRelay(7).contains("Relay mode: Leading-Edge\r\nInput mode: XOR\r\n"));
}

void TestSimDialogue::aStateFileThatDoesNotReadIsIgnored_data()
{
    QTest::addColumn<QByteArray>("content");

    const QByteArray relay = "2 1 5 0 0 0 0 0\n";
    QTest::newRow("garbage") << QByteArray("no relays here\n");
    QTest::newRow("another header") << QByteArray("tavik-sim-state 2\n") + relay.repeated(16);
    QTest::newRow("fifteen relays") << QByteArray("tavik-sim-state 1\n") + relay.repeated(15);
    QTest::newRow("mode 11") << QByteArray("tavik-sim-state 1\n") + relay.repeated(15) + "11 0 0 0 0 0 0 0\n";
    QTest::newRow("gate 4") << QByteArray("tavik-sim-state 1\n") + relay.repeated(15) + "1 4 0 0 0 0 0 0\n";
    QTest::newRow("map of 13 inputs")
        << QByteArray("tavik-sim-state 1\n") + relay.repeated(15) + "1 0 4096 0 0 0 0 0\n";
    QTest::newRow("counter past 45 hours")
        << QByteArray("tavik-sim-state 1\n") + relay.repeated(15) + "3 0 0 0 0 16560000 0 0\n";
    QTest::newRow("a field missing") << QByteArray("tavik-sim-state 1\n") + relay.repeated(15) +
                                            "1 0 0 0 0 0 0\n";
}

void TestSimDialogue::aStateFileThatDoesNotReadIsIgnored()
{
    QFETCH(QByteArray, content);

    QTemporaryDir dir;
    const QString path = dir.filePath("state.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    TavikSimulator sim;
    sim.setStateFile(path);
    QVERIFY(sim.start());
    for (int i = 0; i < 16; ++i)
        QCOMPARE(sim.relay(i), SimRelay());
}

void TestSimDialogue::theDeviceReceivesExactlyWhatWasSent()
{
    m_client->send("xr\x1b"
                   "r3\r");
    QVERIFY(!m_client->awaitText("controlled: No\r\n").isEmpty());
    QCOMPARE(m_sim->received(), QByteArray("xr\x1br3\r"));
    QVERIFY(m_sim->sentCount() >= 100);
    m_sim->clearReceived();
    QCOMPARE(m_sim->received(), QByteArray());
    QCOMPARE(m_sim->sentCount(), 0);
}

void TestSimDialogue::anIdleSimulatorCostsNoCpu()
{
    QVERIFY(!readRelay(1).isEmpty());
    QCOMPARE(m_client->awaitText("> "), QByteArray("> "));
    const double before = processCpuSeconds();
    QCOMPARE(m_client->collectFor(1000), QByteArray());
    const double used = processCpuSeconds() - before;
    QVERIFY2(used < 0.1, qPrintable(QString::number(used)));
}

void TestSimDialogue::anotherThreadMayDriveTheDeviceWhileItServes()
{
    std::atomic<bool> done = false;
    std::thread other([&] {
        int round = 0;
        while (!done) {
            m_sim->setRelay(15, makeRelay(1 + round % 10, 0, quint16(round % 4096)));
            SimFaults faults;
            faults.chunkSize = round % 2 ? 0 : 64;
            m_sim->setFaults(faults);
            [[maybe_unused]] const SimRelay relay = m_sim->relay(round % 16);
            [[maybe_unused]] const QByteArray received = m_sim->received();
            [[maybe_unused]] const qint64 sent = m_sim->sentCount();
            ++round;
        }
    });
    m_sim->setRelay(0, makeRelay(2, 1, 0x0F0));
    for (int i = 0; i < 20; ++i) {
        const QByteArray report = readRelay(1);
        QVERIFY2(report.contains("Relay mode: Toggle\r\nInput mode: AND\r\nInput map: 000011110000\r\n"),
                 report.constData());
        m_client->awaitText("> ");
    }
    done = true;
    other.join();
}

QTEST_GUILESS_MAIN(TestSimDialogue)
#include "tst_simdialogue.moc"
