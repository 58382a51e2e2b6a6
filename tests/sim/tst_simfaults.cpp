// The simulated device's misbehaviours, seen through a real serial port: a
// silent device, wrong echoes, short map lines, banners, output in pieces,
// the line rate, the flood, falling silent and hanging up.

#include "simclient.h"
#include "taviksimulator.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SimFaults)

namespace
{

const QByteArray DefaultReport = "1\r\r\n"
                                 "Relay mode: Momentary\r\n"
                                 "Input mode: OR\r\n"
                                 "Input map: 000000000000\r\n"
                                 "Relay counter: 0x0\r\n"
                                 "Relay status: Open\r\n"
                                 "PC controlled: No\r\n"
                                 "> ";

SimFaults wrongEcho(char of, char with, int times)
{
    SimFaults faults;
    faults.wrongEchoFor = of;
    faults.wrongEchoWith = with;
    faults.wrongEchoTimes = times;
    return faults;
}

} // namespace

class TestSimFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aSilentDeviceEchoesNothingButHearsEverything();
    void aWrongEchoReplacesTheCharacterAsOftenAsAsked_data();
    void aWrongEchoReplacesTheCharacterAsOftenAsAsked();
    void aShortMapLineHoldsFiveDigits_data();
    void aShortMapLineHoldsFiveDigits();
    void bannersSurroundThePromptsWithoutChangingThem();
    void outputInPiecesKeepsTheByteStream();
    void pacedOutputIsNoFasterThanTheLine();
    void theFloodPoursUntilSwitchedOff();
    void theDeviceFallsSilentAfterItsOutputLimit();
    void hangingUpMakesThePortFail();
    void theDeviceHangsUpAfterItsOutputLimit();

private:
    void startWith(const SimFaults &faults);

    std::unique_ptr<TavikSimulator> m_sim;
    std::unique_ptr<SimClient> m_client;
};

void TestSimFaults::init()
{
    m_sim = std::make_unique<TavikSimulator>();
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_client = std::make_unique<SimClient>(m_sim->portPath());
    QVERIFY2(m_client->isOpen(), qPrintable(m_client->port().errorString()));
}

void TestSimFaults::cleanup()
{
    m_client.reset();
    m_sim.reset();
}

void TestSimFaults::startWith(const SimFaults &faults)
{
    m_sim->setFaults(faults);
    QCOMPARE(m_sim->faults().silent, faults.silent);
}

void TestSimFaults::aSilentDeviceEchoesNothingButHearsEverything()
{
    SimFaults faults;
    faults.silent = true;
    startWith(faults);
    m_client->send("r1\r");
    QCOMPARE(m_client->collectFor(300), QByteArray());
    QCOMPARE(m_sim->received(), QByteArray("r1\r"));
    QCOMPARE(m_sim->sentCount(), 0);

    m_sim->setFaults({});
    m_client->send("x");
    QCOMPARE(m_client->awaitCount(1), QByteArray("x"));
}

void TestSimFaults::aWrongEchoReplacesTheCharacterAsOftenAsAsked_data()
{
    QTest::addColumn<SimFaults>("faults");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("echoes");

    QTest::newRow("r once, then right")
        << wrongEcho('r', '?', 1) << QByteArray("r\x1br\x1br") << QByteArray("?rr");
    QTest::newRow("digit 3 twice") << wrongEcho('3', 'x', 2) << QByteArray("3333") << QByteArray("xx33");
    QTest::newRow("every time") << wrongEcho('m', 'n', -1) << QByteArray("m\x1bm\x1bm") << QByteArray("nnn");
    QTest::newRow("other characters untouched")
        << wrongEcho('p', '?', 1) << QByteArray("xyz") << QByteArray("xyz");
    SimFaults atInput;
    atInput.wrongEchoAtInput = 2;
    atInput.wrongEchoWith = '#';
    QTest::newRow("the third character received") << atInput << QByteArray("abcd") << QByteArray("ab#d");
}

void TestSimFaults::aWrongEchoReplacesTheCharacterAsOftenAsAsked()
{
    QFETCH(SimFaults, faults);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, echoes);

    startWith(faults);
    QByteArray got;
    for (const char c : sent) {
        m_client->send(QByteArray(1, c));
        if (c == 27)
            continue;
        got += m_client->awaitCount(1);
        m_client->collectFor(30); // the prompt that follows a command
    }
    QCOMPARE(got, echoes);
}

void TestSimFaults::aShortMapLineHoldsFiveDigits_data()
{
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");

    QTest::newRow("once") << 1 << 1 << QByteArray("Input map: 00000\r\n")
                          << QByteArray("Input map: 000000001001\r\n");
    QTest::newRow("every time") << -1 << 1 << QByteArray("Input map: 00000\r\n")
                                << QByteArray("Input map: 00000\r\n");
    QTest::newRow("both lines of a latching relay")
        << 2 << 10 << QByteArray("Input map: 00000\r\nUnlatch Input mode: OR\r\nUnlatch Input map: 11000\r\n")
        << QByteArray(
               "Input map: 000000001001\r\nUnlatch Input mode: OR\r\nUnlatch Input map: 110000000000\r\n");
}

void TestSimFaults::aShortMapLineHoldsFiveDigits()
{
    QFETCH(int, times);
    QFETCH(int, mode);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);

    SimRelay relay;
    relay.mode = mode;
    relay.map = 0x009;
    relay.unlatchMap = 0xC00;
    m_sim->setRelay(0, relay);
    SimFaults faults;
    faults.shortMapTimes = times;
    startWith(faults);
    for (const QByteArray &expected : {first, second}) {
        m_client->send("r1\r");
        const QByteArray report = m_client->awaitText("> ");
        QVERIFY2(report.contains(expected), report.constData());
    }
}

void TestSimFaults::bannersSurroundThePromptsWithoutChangingThem()
{
    SimFaults faults;
    faults.banners = true;
    startWith(faults);
    m_client->send("r");
    QCOMPARE(m_client->awaitText("number (1-16): "), QByteArray("r\r\n\r\n\r\nRelay number (1-16): "));
    m_client->send("1\r");
    const QByteArray report = m_client->awaitText("> ");
    QVERIFY2(report.startsWith("1\r\r\nRelay mode: Momentary\r\n"), report.constData());
    QVERIFY2(report.contains("PC controlled: No\r\n\r\n\r\n===="), report.constData());
    QVERIFY2(report.contains("Tavik Relay Expander\r\n"), report.constData());

    m_client->send("?");
    const QByteArray menu = m_client->awaitText("> ");
    QVERIFY2(menu.startsWith("?\r\n\r\n====") && menu.count("\r\n") >= 8, menu.constData());
}

void TestSimFaults::outputInPiecesKeepsTheByteStream()
{
    SimFaults faults;
    faults.chunkSize = 7;
    faults.chunkDelayMs = 10;
    startWith(faults);
    QElapsedTimer clock;
    clock.start();
    m_client->send("r");
    QCOMPARE(m_client->awaitText("number (1-16): "), QByteArray("r\r\nRelay number (1-16): "));
    m_client->send("1\r");
    QCOMPARE(m_client->awaitText("> "), DefaultReport);
    // 25 + 138 characters in 4 + 20 pieces of at most 7, with 10 ms after each.
    QVERIFY2(m_client->arrivals() >= 2, qPrintable(QString::number(m_client->arrivals())));
    QVERIFY2(clock.elapsed() >= 0.8 * 22 * 10, qPrintable(QString::number(clock.elapsed())));
}

void TestSimFaults::pacedOutputIsNoFasterThanTheLine()
{
    SimFaults faults;
    faults.paced = true;
    faults.banners = true;
    startWith(faults);
    QElapsedTimer clock;
    clock.start();
    qint64 bytes = 0;
    for (int i = 0; i < 4; ++i) {
        m_client->send("r1\r");
        const QByteArray report = m_client->awaitText("> ");
        QVERIFY(report.contains("PC controlled: No\r\n"));
        bytes += report.size();
    }
    const double lineSeconds = bytes / 5760.0;
    QVERIFY2(clock.nsecsElapsed() / 1e9 >= 0.8 * lineSeconds,
             qPrintable(QStringLiteral("%1 characters in %2 ms").arg(bytes).arg(clock.elapsed())));
}

void TestSimFaults::theFloodPoursUntilSwitchedOff()
{
    SimFaults faults;
    faults.flood = true;
    startWith(faults);
    QVERIFY(!m_client->awaitText(QByteArray(2048, '#'), 2000).isEmpty());

    m_sim->setFaults({});
    m_client->collectFor(100);
    QCOMPARE(m_client->collectFor(100), QByteArray());
    m_client->send("x");
    QCOMPARE(m_client->awaitCount(1), QByteArray("x"));
}

void TestSimFaults::theDeviceFallsSilentAfterItsOutputLimit()
{
    SimFaults faults;
    faults.silentAfterOutput = 10;
    startWith(faults);
    m_client->send("r");
    QCOMPARE(m_client->awaitCount(10), QByteArray("r\r\nRelay n"));
    m_client->send("1\r");
    QCOMPARE(m_client->collectFor(200), QByteArray());
    QCOMPARE(m_sim->sentCount(), 10);
    QCOMPARE(m_sim->received(), QByteArray("r1\r"));
    QVERIFY(m_client->isOpen());
}

void TestSimFaults::hangingUpMakesThePortFail()
{
    QSignalSpy errors(&m_client->port(), &QSerialPort::errorOccurred);
    m_sim->hangUp();
    QVERIFY(QTest::qWaitFor([&] { return m_client->port().error() != QSerialPort::NoError; }, 3000));
    m_client->port().close();
    QVERIFY(!errors.isEmpty());

    // The terminal is gone for good: nobody can open it again.
    SimClient again(m_sim->portPath());
    QVERIFY(!again.isOpen());
}

void TestSimFaults::theDeviceHangsUpAfterItsOutputLimit()
{
    SimFaults faults;
    faults.hangUpAfterOutput = 30;
    startWith(faults);
    m_client->send("r1\r");
    QVERIFY(QTest::qWaitFor([&] { return m_client->port().error() != QSerialPort::NoError; }, 3000));
    const QByteArray got = m_client->takeAll();
    m_client->port().close();
    QCOMPARE(got, QByteArray("r\r\nRelay number (1-16): 1\r\r\nRe"));
    QCOMPARE(m_sim->sentCount(), 30);
}

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_simfaults.moc"
