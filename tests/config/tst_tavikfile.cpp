#include "config/tavikfile.h"
#include "base/errorlog.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace
{

QList<int> none()
{
    return {};
}

std::array<bool, InputCount> mapOf(const QList<int> &trueElements)
{
    std::array<bool, InputCount> map{};
    for (int element : trueElements)
        map[size_t(element)] = true;
    return map;
}

QByteArray clearedRelayLine(int number)
{
    return ", Relay " + QByteArray::number(number) +
           ", 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 0,";
}

// The file a cleared table gives on 4 July 2005 at 14:05, written out by hand.
QList<QByteArray> clearedFileLines()
{
    QList<QByteArray> lines{
        "Tavik Configuration File,",
        "\"(c) 2026 Tavik Controls\",",
        "Date created: 07-04-2005 14:05",
        ", Relay Number, Relay Mode, Input Mode, InputMap, Counter, PC-Control,",
    };
    for (int n = 1; n <= 16; ++n)
        lines << clearedRelayLine(n);
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + "\r\n";
    return text;
}

// The cleared file with line `lineNo` (1-based) replaced.
QByteArray withLine(int lineNo, const QByteArray &line)
{
    QList<QByteArray> lines = clearedFileLines();
    lines[lineNo - 1] = line;
    return joined(lines);
}

// A table that no file in these tests describes, to see that a refused file
// leaves it alone.
RelayTable sentinelTable()
{
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i) {
        RelayConfig &relay = table[size_t(i)];
        relay.RelayMode = 9;
        relay.InputMode = qint16(i % 8);
        relay.InputMap[size_t(i % 12)] = true;
        relay.Counter = 1000 + i;
        CounterToTime(relay);
        relay.PCControl = true;
        relay.Closed = true;
        relay.ShowUnlatch = true;
    }
    return table;
}

RelayTable randomTable(QRandomGenerator &random)
{
    RelayTable table{};
    for (RelayConfig &relay : table) {
        relay.RelayMode = qint16(random.bounded(10));
        relay.InputMode = qint16(random.bounded(8));
        relay.UnlatchInputMode = qint16(random.bounded(8));
        for (int e = 0; e < InputCount; ++e) {
            relay.InputMap[size_t(e)] = random.bounded(2) == 1;
            relay.UnlatchMap[size_t(e)] = random.bounded(2) == 1;
        }
        relay.Counter = qint32(random.bounded(16559999 + 1));
        CounterToTime(relay);
        relay.PCControl = random.bounded(2) == 1;
        relay.Closed = random.bounded(2) == 1;
        relay.ShowUnlatch = random.bounded(2) == 1;
    }
    return table;
}

const QDateTime FixedDate(QDate(2005, 7, 4), QTime(14, 5, 59));

} // namespace

class TestTavikFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_logPath;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write test file %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    QByteArray readBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray logText() { return readBytes(m_logPath); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_logPath = m_dir.filePath(QStringLiteral("ErrorLog.txt"));
        setErrorLogPath(m_logPath);
    }

    void init() { QFile::remove(m_logPath); }

    void cleanupTestCase() { setErrorLogPath({}); }

    void relayLineIsWrittenByteForByte_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("inputMode");
        QTest::addColumn<QList<int>>("inputMap");
        QTest::addColumn<int>("unlatchMode");
        QTest::addColumn<QList<int>>("unlatchMap");
        QTest::addColumn<int>("counter");
        QTest::addColumn<bool>("pcControl");
        QTest::addColumn<QByteArray>("line");

        QTest::newRow("a cleared relay 1 is the example line")
            << 1 << 0 << 0 << none() << 0 << none() << 0 << false
            << QByteArray(", Relay 1, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 0,");
        QTest::newRow("one second is written as 000064")
            << 2 << 2 << 0 << none() << 0 << none() << 100 << false
            << QByteArray(", Relay 2, 2, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000064, 0,");
        QTest::newRow("the longest closure time is written as FCAF7F")
            << 3 << 7 << 1 << none() << 0 << none() << 16559999 << false
            << QByteArray(", Relay 3, 7, 1, BIN 000000000000, 0, BIN 000000000000, HEX FCAF7F, 0,");
        QTest::newRow("input map element 0 is the last character")
            << 4 << 0 << 0 << QList<int>{0} << 0 << none() << 0 << false
            << QByteArray(", Relay 4, 0, 0, BIN 000000000001, 0, BIN 000000000000, HEX 000000, 0,");
        QTest::newRow("input map element 11 is the first character")
            << 5 << 0 << 0 << QList<int>{11} << 0 << none() << 0 << false
            << QByteArray(", Relay 5, 0, 0, BIN 100000000000, 0, BIN 000000000000, HEX 000000, 0,");
        QTest::newRow("PC control ends the line with 1 and a comma")
            << 6 << 0 << 0 << none() << 0 << none() << 0 << true
            << QByteArray(", Relay 6, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 1,");
        QTest::newRow("a latching relay with both sides")
            << 9 << 9 << 5 << QList<int>{0, 2, 4} << 7 << QList<int>{1, 10, 11} << 0xABCDE << false
            << QByteArray(", Relay 9, 9, 5, BIN 000000010101, 7, BIN 110000000010, HEX 0ABCDE, 0,");
        QTest::newRow("a momentary relay still writes its unlatch side")
            << 10 << 0 << 3 << none() << 6 << QList<int>{5} << 0 << false
            << QByteArray(", Relay 10, 0, 3, BIN 000000000000, 6, BIN 000000100000, HEX 000000, 0,");
        QTest::newRow("relay 16 with every input")
            << 16 << 8 << 7 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 0 << none() << 255 << true
            << QByteArray(", Relay 16, 8, 7, BIN 111111111111, 0, BIN 000000000000, HEX 0000FF, 1,");
    }
    void relayLineIsWrittenByteForByte()
    {
        QFETCH(int, number);
        QFETCH(int, mode);
        QFETCH(int, inputMode);
        QFETCH(QList<int>, inputMap);
        QFETCH(int, unlatchMode);
        QFETCH(QList<int>, unlatchMap);
        QFETCH(int, counter);
        QFETCH(bool, pcControl);
        QFETCH(QByteArray, line);

        RelayConfig relay;
        relay.RelayMode = qint16(mode);
        relay.InputMode = qint16(inputMode);
        relay.InputMap = mapOf(inputMap);
        relay.UnlatchInputMode = qint16(unlatchMode);
        relay.UnlatchMap = mapOf(unlatchMap);
        relay.Counter = counter;
        CounterToTime(relay);
        relay.PCControl = pcControl;

        QCOMPARE(tavikRelayLine(relay, number), line);
        QCOMPARE(tavikRelayLine(relay, number).size(), number < 10 ? 70 : 71);
    }

    void savedClearedTableIsTwentyCrLfLinesByteForByte()
    {
        RelayTable table{};
        table[3].Closed = true; // not in the file
        table[3].ShowUnlatch = true;
        const QString path = m_dir.filePath(QStringLiteral("cleared.csv"));
        QCOMPARE(SaveTavikFile(table, path, FixedDate), qint16(0));

        const QByteArray bytes = readBytes(path);
        QCOMPARE(bytes, joined(clearedFileLines()));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 21); // the last line ends with CR LF too
        QVERIFY(lines.last().isEmpty());
        for (int i = 4; i < 20; ++i)
            QCOMPARE(lines.at(i).size(), (i < 13 ? 70 : 71) + 1); // + CR
        QVERIFY(logText().isEmpty());
    }

    void savingReplacesAnExistingFile()
    {
        const QString path = writeFile(QStringLiteral("old.csv"), QByteArray(5000, 'x'));
        QCOMPARE(SaveTavikFile(RelayTable{}, path, FixedDate), qint16(0));
        QCOMPARE(readBytes(path), joined(clearedFileLines()));
    }

    void savingWithoutADateWritesTheCurrentMinute()
    {
        const QString path = m_dir.filePath(QStringLiteral("now.csv"));
        const QString before = QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-yyyy HH:mm"));
        QCOMPARE(SaveTavikFile(RelayTable{}, path), qint16(0));
        const QString after = QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-yyyy HH:mm"));
        const QByteArray line3 = readBytes(path).split('\n').at(2);
        QVERIFY2(line3 == "Date created: " + before.toLatin1() + "\r" ||
                     line3 == "Date created: " + after.toLatin1() + "\r",
                 line3.constData());
    }

    void faultsAreFoundWhereTheFileSaysSo_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QChar>("found");

        QTest::newRow("title in lower case is fault 1")
            << withLine(1, "tavik Configuration File,") << 1 << 1 << 1 << QChar(u't');
        QTest::newRow("title with a trailing blank is fault 1")
            << withLine(1, "Tavik Configuration File, ") << 1 << 1 << 26 << QChar(u' ');
        QTest::newRow("title without its comma is fault 1")
            << withLine(1, "Tavik Configuration File") << 1 << 1 << 25 << QChar();
        QTest::newRow("an empty file's first line is fault 1")
            << QByteArray("\r\n") << 1 << 1 << 1 << QChar();
        QTest::newRow("another year in the notice is fault 2")
            << withLine(2, "\"(c) 2025 Tavik Controls\",") << 2 << 2 << 9 << QChar(u'5');
        QTest::newRow("a notice without quotes is fault 2")
            << withLine(2, "(c) 2026 Tavik Controls,") << 2 << 2 << 1 << QChar(u'(');
        QTest::newRow("a date line without its label is fault 3")
            << withLine(3, "Date: 07-04-2005 14:05") << 3 << 3 << 0 << QChar();
        QTest::newRow("the date label in lower case is fault 3")
            << withLine(3, "date created: 07-04-2005 14:05") << 3 << 3 << 0 << QChar();
        QTest::newRow("the date label without its blank is fault 3")
            << withLine(3, "Date created:07-04-2005 14:05") << 3 << 3 << 0 << QChar();
        QTest::newRow("a column header with another title is fault 4")
            << withLine(4, ", Relay Number, Relay Mode, Input Mode, Input Map, Counter, PC-Control,") << 4
            << 4 << 46 << QChar(u' ');
        QTest::newRow("relay 1's line naming relay 2 is fault 5")
            << withLine(5, clearedRelayLine(2)) << 5 << 5 << 0 << QChar();
        QTest::newRow("relay 12's line naming relay 1 is fault 5")
            << withLine(16, clearedRelayLine(1)) << 5 << 16 << 0 << QChar();
        QTest::newRow("relay in lower case is fault 5")
            << withLine(9, ", relay 5, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 0,") << 5 << 9
            << 0 << QChar();
        QTest::newRow("an empty relay line is fault 5") << withLine(20, "") << 5 << 20 << 0 << QChar();
        QTest::newRow("a 2 first in relay 3's input map is fault 6")
            << withLine(7, ", Relay 3, 0, 0, BIN 200000000000, 0, BIN 000000000000, HEX 000000, 0,") << 6 << 7
            << 22 << QChar(u'2');
        QTest::newRow("a 2 last in relay 16's unlatch map is fault 6")
            << withLine(20, ", Relay 16, 0, 0, BIN 000000000000, 0, BIN 000000000002, HEX 000000, 0,") << 6
            << 20 << 55 << QChar(u'2');
        QTest::newRow("a blank in an input map is fault 6")
            << withLine(5, ", Relay 1, 0, 0, BIN 0000 0000000, 0, BIN 000000000000, HEX 000000, 0,") << 6 << 5
            << 26 << QChar(u' ');
        QTest::newRow("a line cut inside the input map is fault 6")
            << withLine(6, ", Relay 2, 0, 0, BIN 00000") << 6 << 6 << 27 << QChar();
        QTest::newRow("relay 10's line in relay 1's place is read one column early: fault 6")
            << withLine(5, clearedRelayLine(10)) << 6 << 5 << 22 << QChar(u' ');
        QTest::newRow("a 2 for PC control is fault 7")
            << withLine(5, ", Relay 1, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 2,") << 7 << 5
            << 69 << QChar(u'2');
        QTest::newRow("a line ending before PC control is fault 7")
            << withLine(14, ", Relay 10, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, ") << 7
            << 14 << 70 << QChar();
        QTest::newRow("a letter for PC control is fault 7")
            << withLine(20, ", Relay 16, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, T,") << 7
            << 20 << 70 << QChar(u'T');
        QTest::newRow("the first fault wins: map before PC control")
            << withLine(5, ", Relay 1, 0, 0, BIN 000000000000, 0, BIN 00000000000x, HEX 000000, x,") << 6 << 5
            << 54 << QChar(u'x');
        QTest::newRow("the first fault wins: title before anything else")
            << withLine(1, "Tavik") + "garbage" << 1 << 1 << 6 << QChar();
    }
    void faultsAreFoundWhereTheFileSaysSo()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QChar, found);

        const QString path = writeFile(QStringLiteral("fault.csv"), content);
        RelayTable table = sentinelTable();
        QString status = QStringLiteral("left over from before");
        FileFault fault;
        QCOMPARE(OpenTavikFile(table, path, status, &fault), qint16(result));
        QCOMPARE(status, QStringLiteral("Incorrect file format"));
        QVERIFY(table == sentinelTable());
        QCOMPARE(fault.line, line);
        QCOMPARE(fault.column, column);
        QCOMPARE(fault.found, found);
        QVERIFY(!fault.what.isEmpty());
        QVERIFY(logText().isEmpty()); // format faults are the user's, not the program's
    }

    void acceptedFilesAreReadByPosition_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("relay");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("inputMode");
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("hours");
        QTest::addColumn<bool>("pcControl");
        QTest::addColumn<QString>("statusLine");

        const QString cleared1 = QStringLiteral("1, 0, 0, 0x000000");
        QTest::newRow("a lower-case counter is accepted")
            << withLine(8, ", Relay 4, 3, 2, BIN 000000000000, 0, BIN 000000000000, HEX fcaf7f, 0,") << 4 << 3
            << 2 << 16559999 << 45 << false << QStringLiteral("4, 3, 2, 0xFCAF7F");
        QTest::newRow("a date line of just the label is accepted")
            << withLine(3, "Date created: ") << 1 << 0 << 0 << 0 << 0 << false << cleared1;
        QTest::newRow("anything after the date label is accepted")
            << withLine(3, "Date created: sometime last spring") << 1 << 0 << 0 << 0 << 0 << false
            << cleared1;
        QTest::newRow("anything before the date label is accepted")
            << withLine(3, "x Date created: 07-04-2005") << 1 << 0 << 0 << 0 << 0 << false << cleared1;
        QTest::newRow("lines after line 20 are ignored")
            << joined(clearedFileLines()) + "Relay 99, junk 2 2 2\r\n\xff\r\n"
            << 16 << 0 << 0 << 0 << 0 << false << QStringLiteral("16, 0, 0, 0x000000");
        QTest::newRow("positions count from the relay number, whatever stands before it")
            << withLine(6, "abc, Relay 2, 5, 1, BIN 000000000000, 0, BIN 000000000000, HEX 000100, 1,") << 2
            << 5 << 1 << 256 << 0 << true << QStringLiteral("2, 5, 1, 0x000100");
        QTest::newRow("separators are skipped unchecked")
            << withLine(5, ", Relay 1, 6xx4xxxxxx000000000000xx0xxxxxx000000000000xxxxxx00A0b0xx1,") << 1 << 6
            << 4 << 0xA0B0 << 0 << true << QStringLiteral("1, 6, 4, 0x00A0B0");
        QTest::newRow("a mode that is not a digit reads as 0")
            << withLine(5, ", Relay 1, M, -, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 0,") << 1 << 0
            << 0 << 0 << 0 << false << cleared1;
        QTest::newRow("the counter stops at its first non-hexadecimal character")
            << withLine(5, ", Relay 1, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 12G456, 0,") << 1 << 0
            << 0 << 0x12 << 0 << false << QStringLiteral("1, 0, 0, 0x000012");
        QTest::newRow("a counter of no digits reads as 0")
            << withLine(5, ", Relay 1, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX ------, 0,") << 1 << 0
            << 0 << 0 << 0 << false << cleared1;
        QTest::newRow("a mode is not range-checked")
            << withLine(7, ", Relay 3, 9, 9, BIN 000000000000, 9, BIN 000000000000, HEX 360000, 0,") << 3 << 9
            << 9 << 0x360000 << 9 << false << QStringLiteral("3, 9, 9, 0x360000");
        QTest::newRow("text after the PC-control field is ignored")
            << withLine(5, clearedRelayLine(1) + " more, columns, here") << 1 << 0 << 0 << 0 << 0 << false
            << cleared1;
        QTest::newRow("lines ended by LF alone are read too")
            << joined(clearedFileLines()).replace("\r\n", "\n") << 1 << 0 << 0 << 0 << 0 << false << cleared1;
        QTest::newRow("the last line needs no line end")
            << joined(clearedFileLines()).chopped(2) << 16 << 0 << 0 << 0 << 0 << false
            << QStringLiteral("16, 0, 0, 0x000000");
    }
    void acceptedFilesAreReadByPosition()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, relay);
        QFETCH(int, mode);
        QFETCH(int, inputMode);
        QFETCH(int, counter);
        QFETCH(int, hours);
        QFETCH(bool, pcControl);
        QFETCH(QString, statusLine);

        const QString path = writeFile(QStringLiteral("accepted.csv"), content);
        RelayTable table = sentinelTable();
        QString status;
        QCOMPARE(OpenTavikFile(table, path, status), qint16(0));
        const RelayConfig &read = table[size_t(relay - 1)];
        QCOMPARE(read.RelayMode, mode);
        QCOMPARE(read.InputMode, inputMode);
        QCOMPARE(read.Counter, counter);
        QCOMPARE(read.Hours, hours);
        QCOMPARE(read.PCControl, pcControl);
        const QStringList statusLines = status.split(QStringLiteral("\r\n"));
        QCOMPARE(statusLines.size(), 18); // date line, 16 relays, nothing after the last CR LF
        QVERIFY(statusLines.first().contains(QStringLiteral("Date created: ")));
        QCOMPARE(statusLines.at(relay), statusLine);
        QVERIFY(statusLines.last().isEmpty());
    }

    void readingAClearedFileGivesTheStatusTextAndAClearedTable()
    {
        const QString path = writeFile(QStringLiteral("cleared.csv"), joined(clearedFileLines()));
        RelayTable table = sentinelTable();
        QString status;
        QCOMPARE(OpenTavikFile(table, path, status), qint16(0));
        QCOMPARE(status, QStringLiteral("Date created: 07-04-2005 14:05\r\n"
                                        "1, 0, 0, 0x000000\r\n2, 0, 0, 0x000000\r\n3, 0, 0, 0x000000\r\n"
                                        "4, 0, 0, 0x000000\r\n5, 0, 0, 0x000000\r\n6, 0, 0, 0x000000\r\n"
                                        "7, 0, 0, 0x000000\r\n8, 0, 0, 0x000000\r\n9, 0, 0, 0x000000\r\n"
                                        "10, 0, 0, 0x000000\r\n11, 0, 0, 0x000000\r\n12, 0, 0, 0x000000\r\n"
                                        "13, 0, 0, 0x000000\r\n14, 0, 0, 0x000000\r\n15, 0, 0, 0x000000\r\n"
                                        "16, 0, 0, 0x000000\r\n"));
        // Closed and ShowUnlatch are not in the file, so loading clears them.
        QVERIFY(table == RelayTable{});
    }

    void mapsAreReadElevenFirst()
    {
        const QString path = writeFile(
            QStringLiteral("maps.csv"),
            withLine(15, ", Relay 11, 9, 0, BIN 100000000001, 4, BIN 010000000010, HEX 000000, 0,"));
        RelayTable table{};
        QString status;
        QCOMPARE(OpenTavikFile(table, path, status), qint16(0));
        QVERIFY(table[10].InputMap == mapOf({0, 11}));
        QVERIFY(table[10].UnlatchMap == mapOf({1, 10}));
        QCOMPARE(table[10].UnlatchInputMode, qint16(4));
    }

    void aFileCutAfterItsTenthRelayLineFailsAndKeepsTheTable()
    {
        QList<QByteArray> lines = clearedFileLines().mid(0, 14);
        lines[13] = ", Relay 10, 1, 2, BIN 000000000000, 0, BIN 000000000000, HEX 00abcd, 0,";
        const QString path = writeFile(QStringLiteral("cut.csv"), joined(lines));
        RelayTable table = sentinelTable();
        QString status;
        FileFault fault;
        QCOMPARE(OpenTavikFile(table, path, status, &fault), qint16(-1));
        QVERIFY(table == sentinelTable());
        QCOMPARE(status, QStringLiteral("Date created: 07-04-2005 14:05\r\n"
                                        "1, 0, 0, 0x000000\r\n2, 0, 0, 0x000000\r\n3, 0, 0, 0x000000\r\n"
                                        "4, 0, 0, 0x000000\r\n5, 0, 0, 0x000000\r\n6, 0, 0, 0x000000\r\n"
                                        "7, 0, 0, 0x000000\r\n8, 0, 0, 0x000000\r\n9, 0, 0, 0x000000\r\n"
                                        "10, 1, 2, 0x00ABCD\r\n"));
        QVERIFY(!fault.what.isEmpty());
        const QList<QByteArray> log = logText().split('\n');
        QCOMPARE(log.size(), 4); // title, rule, entry, nothing after the last CR LF
        QVERIFY2(log.at(2).contains("in procedure OpenTavikFile of Form frmMain on line "),
                 log.at(2).constData());
        QVERIFY(log.at(2).contains("cut.csv"));
    }

    void aFileEndingInsideTheHeaderFails_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("status");
        QTest::newRow("an empty file") << QByteArray() << QString();
        QTest::newRow("two lines") << joined(clearedFileLines().mid(0, 2)) << QString();
        QTest::newRow("three lines") << joined(clearedFileLines().mid(0, 3))
                                     << QStringLiteral("Date created: 07-04-2005 14:05\r\n");
    }
    void aFileEndingInsideTheHeaderFails()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, status);
        const QString path = writeFile(QStringLiteral("header.csv"), content);
        RelayTable table = sentinelTable();
        QString text = QStringLiteral("old");
        QCOMPARE(OpenTavikFile(table, path, text), qint16(-1));
        QCOMPARE(text, status);
        QVERIFY(table == sentinelTable());
        QVERIFY(logText().contains("OpenTavikFile"));
    }

    void aMissingFileFailsAndIsLogged()
    {
        RelayTable table = sentinelTable();
        QString status = QStringLiteral("old");
        QCOMPARE(OpenTavikFile(table, m_dir.filePath(QStringLiteral("absent.csv")), status), qint16(-1));
        QVERIFY(status.isEmpty());
        QVERIFY(table == sentinelTable());
        QVERIFY(logText().contains("in procedure OpenTavikFile of Form frmMain on line 3"));
    }

    void aFolderCannotBeReadAsAFile()
    {
        RelayTable table = sentinelTable();
        QString status;
        QCOMPARE(OpenTavikFile(table, m_dir.path(), status), qint16(-1));
        QVERIFY(table == sentinelTable());
    }

    void randomTablesSurviveSavingAndLoading()
    {
        QRandomGenerator random(20261206);
        const QString path = m_dir.filePath(QStringLiteral("random.csv"));
        for (int round = 0; round < 300; ++round) {
            const RelayTable saved = randomTable(random);
            QCOMPARE(SaveTavikFile(saved, path, FixedDate), qint16(0));
            RelayTable loaded = sentinelTable();
            QString status;
            QCOMPARE(OpenTavikFile(loaded, path, status), qint16(0));
            for (int i = 0; i < RelayCount; ++i) {
                RelayConfig expected = saved[size_t(i)];
                expected.Closed = false;
                expected.ShowUnlatch = false;
                if (!(loaded[size_t(i)] == expected))
                    QFAIL(qPrintable(
                        QStringLiteral("round %1: relay %2 came back different").arg(round).arg(i + 1)));
                const QString line = status.split(QStringLiteral("\r\n")).at(i + 1);
                QCOMPARE(line, QStringLiteral("%1, %2, %3, 0x%4")
                                   .arg(i + 1)
                                   .arg(expected.RelayMode)
                                   .arg(expected.InputMode)
                                   .arg(QString::asprintf("%06X", unsigned(expected.Counter))));
            }
        }
    }

    void aSaveCutShortByAFullDiskLeavesTheOldFileIntact()
    {
        const QByteArray old = "the previous configuration\r\n";
        const QString path = writeFile(QStringLiteral("keep.csv"), old);

        // A file-size limit makes every write past it fail, for root as well.
        struct rlimit saved {
        };
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 1000; // the file is longer, the log entry shorter
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const qint16 result = SaveTavikFile(sentinelTable(), path, FixedDate);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(result, qint16(-1));
        QCOMPARE(readBytes(path), old);
        QVERIFY(logText().contains("in procedure SaveTavikFile of Form frmMain on line "));
        // No temporary file is left beside it.
        const QStringList left = QDir(m_dir.path()).entryList({QStringLiteral("keep.csv*")}, QDir::Files);
        QCOMPARE(left, QStringList{QStringLiteral("keep.csv")});
    }

    void savingIntoAMissingFolderFailsAndIsLogged()
    {
        const QString path = m_dir.filePath(QStringLiteral("no/such/folder/x.csv"));
        QCOMPARE(SaveTavikFile(RelayTable{}, path, FixedDate), qint16(-1));
        QVERIFY(!QFile::exists(path));
        QVERIFY(logText().contains("in procedure SaveTavikFile of Form frmMain on line 2"));
    }
};

QTEST_GUILESS_MAIN(TestTavikFile)
#include "tst_tavikfile.moc"
