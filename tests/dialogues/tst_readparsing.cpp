#include "dialogues/readparsing.h"

#include <QtTest>

namespace
{

// The device's report, handed out label by label as the prompt exchange
// would; a label or value that never comes ends the walk.
class ScriptLine : public ReportLine
{
public:
    explicit ScriptLine(const QByteArray &report) : m_report(report) {}

    DialogueStep await(const QByteArray &label) override
    {
        const qsizetype at = m_report.indexOf(label, m_position);
        if (at < 0)
            return DialogueStep::End;
        m_position = at + label.size();
        return DialogueStep::Go;
    }
    DialogueStep collect(QByteArray &text, const QByteArray &start) override
    {
        const qsizetype end = m_report.indexOf('\r', m_position);
        if (end < 0)
            return DialogueStep::End;
        text = start + m_report.mid(m_position, end + 1 - m_position);
        m_position = end + 1;
        return DialogueStep::Go;
    }

private:
    QByteArray m_report;
    qsizetype m_position = 0;
};

// The editor's side is the read dialogue's business.
class NoFollower : public ReportFollower
{
public:
    void relayModeRead(qint16) override {}
    void gateRead(qint16, bool) override {}
    void inputRead(int, bool, bool) override {}
    void closureTimeRead(const RelayConfig &) override {}
    void pcControlRead(bool) override {}
};

int bits(const std::array<bool, InputCount> &map)
{
    int value = 0;
    for (int input = 0; input < InputCount; ++input)
        value |= map[size_t(input)] ? 1 << input : 0;
    return value;
}

const QByteArray LatchingReport = "Relay mode: Latching\r\nInput mode: NAND\r\nInput map: 100000000001\r\n"
                                  "Input mode: NIL\r\nInput map: 000000110000\r\ncounter: 0x1A2B\r\n"
                                  "status: Closed\r\ncontrolled: Yes\r\n";

} // namespace

class TestReadParsing : public QObject
{
    Q_OBJECT
private slots:
    void aValueReadsAs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected"); // -1: nothing read
        QTest::newRow("mode Latching") << "mode" << QByteArray("Latching\r") << 9;
        QTest::newRow("mode amid noise") << "mode" << QByteArray("  [Max-Time] \r") << 7;
        QTest::newRow("mode: earlier name wins") << "mode" << QByteArray("Latching Toggle\r") << 1;
        QTest::newRow("mode: case matters") << "mode" << QByteArray("toggle\r") << 0;
        QTest::newRow("mode unknown") << "mode" << QByteArray("Blink\r") << 0;
        QTest::newRow("gate XOR") << "gate" << QByteArray("XOR\r") << 2;
        QTest::newRow("gate IL") << "gate" << QByteArray("IL\r") << 3;
        QTest::newRow("gate NOR, not OR") << "gate" << QByteArray("NOR\r") << 4;
        QTest::newRow("gate NAND, not AND") << "gate" << QByteArray("NAND\r") << 5;
        QTest::newRow("gate NXOR, not XOR or NOR") << "gate" << QByteArray("NXOR\r") << 6;
        QTest::newRow("gate NIL, not IL") << "gate" << QByteArray("NIL\r") << 7;
        QTest::newRow("gate unknown but holding AND") << "gate" << QByteArray("XAND\r") << 1;
        QTest::newRow("gate lower case") << "gate" << QByteArray("nand\r") << 0;
        QTest::newRow("counter 1A2B") << "counter" << QByteArray("&H1A2B\r") << 6699;
        QTest::newRow("counter, longest time") << "counter" << QByteArray("&HFCAF7F\r") << 16559999;
        QTest::newRow("counter 8000 is unsigned") << "counter" << QByteArray("&H8000\r") << 32768;
        QTest::newRow("counter in lower case") << "counter" << QByteArray("&Hff\r") << 255;
        QTest::newRow("counter without digits") << "counter" << QByteArray("&H\r") << 0;
        QTest::newRow("counter up to a non-digit") << "counter" << QByteArray("&H12G4\r") << 18;
        QTest::newRow("status Closed") << "status" << QByteArray("Closed\r") << 1;
        QTest::newRow("status: Open wins") << "status" << QByteArray("Closed/Open\r") << 0;
        QTest::newRow("status unknown") << "status" << QByteArray("open\r") << -1;
        QTest::newRow("controlled Yes") << "controlled" << QByteArray("Yes\r") << 1;
        QTest::newRow("controlled: No wins") << "controlled" << QByteArray("Yes No\r") << 0;
        QTest::newRow("controlled unknown") << "controlled" << QByteArray("yes\r") << -1;
        QTest::newRow("map line of twelve") << "complete" << QByteArray("010101010101\r") << 1;
        QTest::newRow("map line of eleven") << "complete" << QByteArray("01010101010\r") << 0;
    }
    void aValueReadsAs()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        auto code = [](std::optional<bool> value) { return value ? int(*value) : -1; };
        const int read = kind == "mode"     ? parseRelayMode(text)
                         : kind == "gate"   ? parseInputMode(text)
                         : kind == "counter" ? parseHexCounter(text)
                         : kind == "status" ? code(parseStatus(text))
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

    void aReportIsWalkedLabelByLabel_data()
    {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<int>("mask");
        QTest::addColumn<DialogueStep>("step");
        // mode gate unlatch-gate map unlatch-map counter closed PC-control,
        // from a record that held 9 3 3 fff fff 77 0 0
        QTest::addColumn<QString>("relay");
        QTest::newRow("Latching, both sides") << LatchingReport << -1 << DialogueStep::Go
                                              << "9 5 7 801 30 6699 1 1";
        QTest::newRow("Toggle: the counter follows the first map")
            << QByteArray("Relay mode: Toggle\r\nInput mode: NOR\r\nInput map: 000000001111\r\n"
                          "counter: 0x0\r\nstatus: Open\r\ncontrolled: No\r\n")
            << -1 << DialogueStep::Go << "1 4 3 f fff 0 0 0";
        QTest::newRow("a short map line restarts")
            << QByteArray("Relay mode: Toggle\r\nInput mode: OR\r\nInput map: 00000\r\n") << -1
            << DialogueStep::Restart << "1 0 3 fff fff 77 0 0";
        QTest::newRow("mask: the mode only") << LatchingReport << 1 << DialogueStep::Go
                                             << "9 3 3 fff fff 77 0 0";
        QTest::newRow("mask: all but the mode") << LatchingReport << (-1 & ~1) << DialogueStep::Go
                                                << "9 5 7 801 30 6699 1 1";
        QTest::newRow("mask: nothing") << LatchingReport << 0 << DialogueStep::Go << "9 3 3 fff fff 77 0 0";
    }
    void aReportIsWalkedLabelByLabel()
    {
        QFETCH(QByteArray, report);
        QFETCH(int, mask);
        QFETCH(DialogueStep, step);
        QFETCH(QString, relay);
        RelayConfig record;
        record.RelayMode = 9; // so that the unlatching side is awaited whatever the mask
        record.InputMode = record.UnlatchInputMode = 3;
        record.InputMap.fill(true);
        record.UnlatchMap.fill(true);
        record.Counter = 77;
        ScriptLine line(report);
        NoFollower follower;
        QCOMPARE(walkReport(line, record, qint16(mask), follower), step);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                     .arg(record.RelayMode)
                     .arg(record.InputMode)
                     .arg(record.UnlatchInputMode)
                     .arg(bits(record.InputMap), 0, 16)
                     .arg(bits(record.UnlatchMap), 0, 16)
                     .arg(record.Counter)
                     .arg(int(record.Closed))
                     .arg(int(record.PCControl)),
                 relay);
    }
};

QTEST_GUILESS_MAIN(TestReadParsing)
#include "tst_readparsing.moc"
