#include "dialogues/readparsing.h"

#include <QtTest>

class TestReadParsing : public QObject
{
    Q_OBJECT
private slots:
    void theFirstRelayModeNameFoundGivesTheMode_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("mode");
        QTest::newRow("Momentary") << QByteArray("Momentary\r") << 0;
        QTest::newRow("Toggle") << QByteArray("Toggle\r") << 1;
        QTest::newRow("Leading-Edge") << QByteArray("Leading-Edge\r") << 2;
        QTest::newRow("Trailing-Edge") << QByteArray("Trailing-Edge\r") << 3;
        QTest::newRow("Either-Edge") << QByteArray("Either-Edge\r") << 4;
        QTest::newRow("Pulse-Stretch") << QByteArray("Pulse-Stretch\r") << 5;
        QTest::newRow("Min-Time") << QByteArray("Min-Time\r") << 6;
        QTest::newRow("Max-Time") << QByteArray("Max-Time\r") << 7;
        QTest::newRow("Debounce") << QByteArray("Debounce\r") << 8;
        QTest::newRow("Latching") << QByteArray("Latching\r") << 9;
        QTest::newRow("with noise around") << QByteArray("  [Max-Time] \r") << 7;
        QTest::newRow("earlier name wins") << QByteArray("Latching Toggle\r") << 1;
        QTest::newRow("case matters") << QByteArray("toggle\r") << 0;
        QTest::newRow("nothing known") << QByteArray("Blink\r") << 0;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void theFirstRelayModeNameFoundGivesTheMode()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, mode);
        QCOMPARE(parseRelayMode(value), mode);
    }

    void longerGateNamesAreTriedBeforeTheNamesTheyContain_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("gate");
        QTest::newRow("OR") << QByteArray("OR\r") << 0;
        QTest::newRow("AND") << QByteArray("AND\r") << 1;
        QTest::newRow("XOR") << QByteArray("XOR\r") << 2;
        QTest::newRow("IL") << QByteArray("IL\r") << 3;
        QTest::newRow("NOR not OR") << QByteArray("NOR\r") << 4;
        QTest::newRow("NAND not AND") << QByteArray("NAND\r") << 5;
        QTest::newRow("NXOR not XOR or NOR") << QByteArray("NXOR\r") << 6;
        QTest::newRow("NIL not IL") << QByteArray("NIL\r") << 7;
        QTest::newRow("unknown name holding AND") << QByteArray("XAND\r") << 1;
        QTest::newRow("no name") << QByteArray("none\r") << 0;
        QTest::newRow("lower case") << QByteArray("nand\r") << 0;
    }
    void longerGateNamesAreTriedBeforeTheNamesTheyContain()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, gate);
        QCOMPARE(parseInputMode(value), gate);
    }

    void theMapLineListsInput11First()
    {
        const auto inputs = parseInputMap("100000000001\r");
        for (int input = 0; input < 12; ++input) {
            QVERIFY(inputs[input].has_value());
            QCOMPARE(*inputs[input], input == 11 || input == 0);
        }
    }

    void theMapWalkStopsAtTheCarriageReturnAndSkipsOtherCharacters()
    {
        const auto inputs = parseInputMap("1x0\r11111111");
        QCOMPARE(inputs[11], std::optional<bool>(true));
        QCOMPARE(inputs[10], std::nullopt);
        QCOMPARE(inputs[9], std::optional<bool>(false));
        for (int input = 0; input <= 8; ++input)
            QCOMPARE(inputs[input], std::nullopt);
    }

    void aMapLineIsCompleteWithTwelveCharactersAndItsCarriageReturn_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("complete");
        QTest::newRow("twelve digits") << QByteArray("010101010101\r") << true;
        QTest::newRow("five digits") << QByteArray("01010\r") << false;
        QTest::newRow("eleven digits") << QByteArray("01010101010\r") << false;
        QTest::newRow("longer") << QByteArray(" 010101010101\r") << true;
    }
    void aMapLineIsCompleteWithTwelveCharactersAndItsCarriageReturn()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, complete);
        QCOMPARE(isCompleteMapLine(line), complete);
    }

    void theCounterIsReadAsUnsignedHexadecimal_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("counter");
        QTest::newRow("1A2B") << QByteArray("&H1A2B\r") << 6699;
        QTest::newRow("longest time") << QByteArray("&HFCAF7F\r") << 16559999;
        QTest::newRow("8000 is not negative") << QByteArray("&H8000\r") << 32768;
        QTest::newRow("lower case digits") << QByteArray("&Hff\r") << 255;
        QTest::newRow("no digits") << QByteArray("&H\r") << 0;
        QTest::newRow("stops at the first other character") << QByteArray("&H12G4\r") << 18;
        QTest::newRow("zero") << QByteArray("&H0\r") << 0;
    }
    void theCounterIsReadAsUnsignedHexadecimal()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, counter);
        QCOMPARE(parseHexCounter(text), counter);
    }

    void statusAndControlLeaveUnknownTextsAlone_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("status");     // -1 none, 0 false, 1 true
        QTest::addColumn<int>("controlled"); // -1 none, 0 false, 1 true
        QTest::newRow("Open") << QByteArray("Open\r") << 0 << -1;
        QTest::newRow("Closed") << QByteArray("Closed\r") << 1 << -1;
        QTest::newRow("Open wins over Closed") << QByteArray("Closed/Open\r") << 0 << -1;
        QTest::newRow("Yes") << QByteArray("Yes\r") << -1 << 1;
        QTest::newRow("No") << QByteArray("No\r") << -1 << 0;
        QTest::newRow("No wins over Yes") << QByteArray("Yes No\r") << -1 << 0;
        QTest::newRow("neither") << QByteArray("Unknown\r") << -1 << -1;
        QTest::newRow("case matters") << QByteArray("open yes\r") << -1 << -1;
    }
    void statusAndControlLeaveUnknownTextsAlone()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, status);
        QFETCH(int, controlled);
        auto code = [](std::optional<bool> v) { return v ? int(*v) : -1; };
        QCOMPARE(code(parseStatus(value)), status);
        QCOMPARE(code(parseControlled(value)), controlled);
    }
};

QTEST_GUILESS_MAIN(TestReadParsing)
#include "tst_readparsing.moc"
