#include "dialogues/readparsing.h"

#include <QtTest>

// How the read dialogue turns each value of the device's report into a field.
class TestReadParsing : public QObject
{
    Q_OBJECT
private slots:
    void aValueReadsAs_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected"); // -1: nothing read
        const std::tuple<const char *, const char *, int> rows[] = {
            {"mode", "  [Max-Time] \r", 7}, {"mode", "Latching Toggle\r", 1}, {"mode", "toggle\r", 0},
            {"gate", "IL\r", 3}, {"gate", "NOR\r", 4}, {"gate", "NAND\r", 5}, {"gate", "NXOR\r", 6},
            {"gate", "NIL\r", 7}, {"gate", "XAND\r", 1}, {"gate", "nand\r", 0},
            {"counter", "&HFCAF7F\r", 16559999}, {"counter", "&H8000\r", 32768}, {"counter", "&Hff\r", 255},
            {"counter", "&H12G4\r", 18}, {"counter", "&H\r", 0}, {"stored counter", "&HFFFFFF\r", 0xFFFFFF},
            {"stored counter", "&H1000000\r", -1}, {"stored counter", "&HFFFFFFFE\r", -1},
            {"status", "Closed\r", 1}, {"status", "Closed/Open\r", 0}, {"status", "open\r", -1},
            {"controlled", "Yes\r", 1}, {"controlled", "Yes No\r", 0}, {"controlled", "yes\r", -1},
            {"whole map", "010101010101\r", 1}, {"whole map", "01010101010\r", 0},
        };
        for (const auto &[kind, text, expected] : rows)
            QTest::addRow("%s %s", kind, QByteArray(text).trimmed().constData())
                << QByteArray(kind) << QByteArray(text) << expected;
    }
    void aValueReadsAs()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        auto code = [](std::optional<bool> value) { return value ? int(*value) : -1; };
        const int read = kind == "mode"         ? parseRelayMode(text)
                         : kind == "gate"       ? parseInputMode(text)
                         : kind == "counter"    ? parseHexCounter(text)
                         : kind == "stored counter" ? storableCounter(parseHexCounter(text)).value_or(-1)
                         : kind == "status"     ? code(parseStatus(text))
                         : kind == "controlled" ? code(parseControlled(text))
                                                : int(isCompleteMapLine(text));
        QCOMPARE(read, expected);
    }

    void theMapLineListsInput11FirstAndStopsAtItsEnd()
    {
        const auto inputs = parseInputMap("1x0\r11111111");
        QCOMPARE(inputs[11], std::optional<bool>(true));
        QCOMPARE(inputs[10], std::nullopt); // neither 0 nor 1: left as it was
        QCOMPARE(inputs[9], std::optional<bool>(false));
        for (int input = 0; input <= 8; ++input)
            QCOMPARE(inputs[size_t(input)], std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestReadParsing)
#include "tst_readparsing.moc"
