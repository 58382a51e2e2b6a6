// The relay table, its file and clipboard texts, the closure-time rules, comparison and the error log.
#include "base/errorlog.h"
#include "config/closuretimetext.h"
#include "config/relaycomparison.h"
#include "config/relayclipboard.h"
#include "config/relayjson.h"
#include "config/tavikfile.h"
#include "inputmap.h"

#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

// A change made to the second of two equal relays.
using RelayChange = std::function<void(RelayConfig &)>;
Q_DECLARE_METATYPE(RelayChange)

namespace
{

// Relay i of the varied table: mode i % 10, gate 3i % 8, unlatch gate (i + 5) % 8, input map
// Maps[i], unlatch map Maps[i + 7], PC control on every third, nothing the file does not hold.
const quint16 Maps[16] = {0x001, 0x800, 0x000, 0xFFF, 0x5A5, 0xA5A, 0x00F, 0x0F0,
                          0xF00, 0x123, 0x456, 0x789, 0xABC, 0xDEF, 0x3C3, 0x081};
const qint32 Counters[16] = {0,    100,     16559999, 12345, 359999, 360000,  1,        99,
                             6000, 0xABCDE, 255,      4096,  65535,  1000000, 16559998, 42};
const QDateTime Created(QDate(2005, 7, 4), QTime(14, 5, 59));
const QByteArray LogHeader =
    "Tavik Configuration Manager v1.0.0 Error Log\r\n================================\r\n";
enum LogOutcome { Ignored, Appended, ShownAndDeleted };

const QByteArray VariedFile = "Tavik Configuration File,\r\n"
                              "\"(c) 2026 Tavik Controls\",\r\n"
                              "Date created: 07-04-2005 14:05\r\n"
                              ", Relay Number, Relay Mode, Input Mode, InputMap, Counter, PC-Control,\r\n"
                              ", Relay 1, 0, 0, BIN 000000000001, 5, BIN 000011110000, HEX 000000, 1,\r\n"
                              ", Relay 2, 1, 3, BIN 100000000000, 6, BIN 111100000000, HEX 000064, 0,\r\n"
                              ", Relay 3, 2, 6, BIN 000000000000, 7, BIN 000100100011, HEX FCAF7F, 0,\r\n"
                              ", Relay 4, 3, 1, BIN 111111111111, 0, BIN 010001010110, HEX 003039, 1,\r\n"
                              ", Relay 5, 4, 4, BIN 010110100101, 1, BIN 011110001001, HEX 057E3F, 0,\r\n"
                              ", Relay 6, 5, 7, BIN 101001011010, 2, BIN 101010111100, HEX 057E40, 0,\r\n"
                              ", Relay 7, 6, 2, BIN 000000001111, 3, BIN 110111101111, HEX 000001, 1,\r\n"
                              ", Relay 8, 7, 5, BIN 000011110000, 4, BIN 001111000011, HEX 000063, 0,\r\n"
                              ", Relay 9, 8, 0, BIN 111100000000, 5, BIN 000010000001, HEX 001770, 0,\r\n"
                              ", Relay 10, 9, 3, BIN 000100100011, 6, BIN 000000000001, HEX 0ABCDE, 1,\r\n"
                              ", Relay 11, 0, 6, BIN 010001010110, 7, BIN 100000000000, HEX 0000FF, 0,\r\n"
                              ", Relay 12, 1, 1, BIN 011110001001, 0, BIN 000000000000, HEX 001000, 0,\r\n"
                              ", Relay 13, 2, 4, BIN 101010111100, 1, BIN 111111111111, HEX 00FFFF, 1,\r\n"
                              ", Relay 14, 3, 7, BIN 110111101111, 2, BIN 010110100101, HEX 0F4240, 0,\r\n"
                              ", Relay 15, 4, 2, BIN 001111000011, 3, BIN 101001011010, HEX FCAF7E, 0,\r\n"
                              ", Relay 16, 5, 5, BIN 000010000001, 4, BIN 000000001111, HEX 00002A, 1,\r\n";

RelayTable variedTable()
{
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i) {
        table[size_t(i)] = {
            inputMap(Maps[i]), inputMap(Maps[(i + 7) % 16]), false, i % 3 == 0, false, qint16(i % 10),
            qint16(3 * i % 8), qint16((i + 5) % 8), Counters[i]};
        CounterToTime(table[size_t(i)]);
    }
    return table;
}

// What the status box shows for the first `relays` relays of the varied file.
QString variedStatus(int relays)
{
    QString status = QStringLiteral("Date created: 07-04-2005 14:05\r\n");
    for (int i = 0; i < relays; ++i)
        status += QString::asprintf("%d, %d, %d, 0x%06X\r\n", i + 1, i % 10, 3 * i % 8, uint(Counters[i]));
    return status;
}

QByteArray withLine(int lineNo, const QByteArray &line)
{
    QList<QByteArray> lines = VariedFile.split('\n');
    lines[lineNo - 1] = line + '\r';
    return lines.join('\n');
}

// A table no file here describes, to see that a refused file leaves it alone.
const RelayTable Untouched = [] {
    RelayTable table;
    table.fill({{}, {}, true, true, true, 7, 7, 7, 777});
    return table;
}();

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_log = m_dir.filePath("ErrorLog.txt");
    QStringList m_notices; // path, text, and whether the log was still there to be shown

    QString fileWith(const QByteArray &content)
    {
        QFile file(m_dir.filePath("file.csv"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return file.fileName();
    }

private slots:
    void initTestCase()
    {
        setErrorLogPath(m_log);
        setOversizedLogNotice([this](const QString &path, const QString &text) {
            m_notices << path << text << (QFile::exists(path) ? "shown" : "gone");
        });
    }
    void init() { QFile::remove(m_log); }

    // Each part in its range and the sum back: the one split there is.
    void everyCounterSplitsIntoTimeAndBack()
    {
        RelayConfig relay;
        for (qint32 counter = 0; counter <= MaxCounter; ++counter) {
            relay.Counter = counter;
            CounterToTime(relay);
            relay.Counter = -1;
            TimeToCounter(relay);
            if (relay.Counter != counter || relay.Hours > 45 || relay.Minutes > 59 || relay.Seconds > 59 ||
                relay.Hundredths > 99)
                QFAIL(qPrintable(QStringLiteral("counter %1 went wrong").arg(counter)));
        }
        QCOMPARE(relay.Hours * 1000000 + relay.Minutes * 10000 + relay.Seconds * 100 + relay.Hundredths,
                 45595999);
    }

    void clearingKeepsWhatTheDeviceAndTheEditorHold()
    {
        RelayConfig relay = variedTable()[1]; // mode, gates, maps and time all set
        relay.PCControl = relay.Closed = relay.ShowUnlatch = true;
        ClearRelay(relay);
        QCOMPARE(relay, (RelayConfig{.ShowUnlatch = true, .PCControl = true, .Closed = true}));
    }

    void theFileIsWrittenByteForByteAndReadBack()
    {
        const QString path = m_dir.filePath("varied.csv");
        QCOMPARE(saveConfigFile(variedTable(), path, Created), FileResult::Ok);
        QCOMPARE(readAll(path), VariedFile);
        RelayTable loaded = Untouched;
        QString status;
        QCOMPARE(openConfigFile(loaded, path, status), FileResult::Ok);
        QCOMPARE(status, variedStatus(16));
        QVERIFY(loaded == variedTable());
        QCOMPARE(readAll(m_log), QByteArray());
    }

    // A refused file keeps the table and says where; an accepted one is read by position.
    void openingAFile_data()
    {
        using enum FileResult;
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<FileResult>("result");
        QTest::addColumn<QString>("where");  // line:column:character found, column 0 the line as a whole
        QTest::addColumn<QString>("status"); // of an accepted file: one line of it
        const QByteArray relay1 = ", Relay 1, 0, 0, BIN 000000000001, 5, BIN 000011110000, HEX 000000, ";
        const QByteArray maps = "BIN 000000000000, 0, BIN 000000000000, HEX ";
        const auto refused = [](const char *name, const QByteArray &content, FileResult result,
                                const char *where,
                                const QString &status = QStringLiteral("Incorrect file format")) {
            QTest::newRow(name) << content << result << QString::fromLatin1(where) << status;
        };
        const auto read = [](const char *name, const QByteArray &content, const char *statusLine) {
            QTest::newRow(name) << content << Ok << QStringLiteral("0:0:") << QString::fromLatin1(statusLine);
        };
        refused("title in lower case", withLine(1, "tavik Configuration File,"), BadTitle, "1:1:t");
        refused("title without its comma", withLine(1, "Tavik Configuration File"), BadTitle, "1:25:");
        refused("another year in the notice", withLine(2, "\"(c) 2025 Tavik Controls\","), BadNotice,
                "2:9:5");
        refused("no date label", withLine(3, "date created: 07-04-2005 14:05"), NoDate, "3:0:");
        refused("another column title", QByteArray(VariedFile).replace("InputMap", "Input Map"), BadHeader,
                "4:46: ");
        refused("relay 1's line naming relay 2", withLine(5, VariedFile.split('\r').at(5).mid(1)), NoRelay,
                "5:0:");
        refused("a 2 in the unlatch map before a bad PC control",
                withLine(5, relay1.left(53) + "2, HEX 000000, x,"), BadMap, "5:54:2");
        refused("a line cut inside the map", withLine(6, ", Relay 2, 1, 3, BIN 10000"), BadMap, "6:27:");
        refused("relay 10's line first: read a column early",
                withLine(5, VariedFile.split('\n').at(13).chopped(1)), BadMap, "5:22: ");
        refused("a 2 for PC control", withLine(5, relay1 + "2,"), BadPCControl, "5:69:2");
        refused("a line ending before PC control", withLine(5, relay1), BadPCControl, "5:69:");
        refused("no file", QByteArray(), Failed, "0:0:", QString());
        refused("ten relay lines", VariedFile.left(VariedFile.indexOf(", Relay 11,")), Failed,
                "0:0:", variedStatus(10));
        read("anything around the date label", withLine(3, "x Date created: x"), "x Date created: x");
        read("text before the relay number, modes unchecked",
             withLine(6, "abc, Relay 2, 9, 9, " + maps + "000100, 1,"), "2, 9, 9, 0x000100");
        read("separators unchecked, hex in either case",
             withLine(5, ", Relay 1, 6xx4xxxxxx000000000000xx0xxxxxx000000000000xxxxxx00A0b0xx1,"),
             "1, 6, 4, 0x00A0B0");
        read("modes no digits, a counter up to its first non-digit",
             withLine(5, ", Relay 1, M, -, " + maps + "12G456, 0,"), "1, 0, 0, 0x000012");
        read("lines after line 20", VariedFile + "Relay 99, junk\r\n\xff\r\n", "16, 5, 5, 0x00002A");
        read("lines ended by LF", QByteArray(VariedFile).replace("\r\n", "\n"), "10, 9, 3, 0x0ABCDE");
        read("no end on the last line", VariedFile.chopped(2), "16, 5, 5, 0x00002A");
    }
    void openingAFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(FileResult, result);
        QFETCH(QString, status);
        const QString path = content.isNull() ? m_dir.filePath("absent.csv") : fileWith(content);
        RelayTable table = Untouched;
        QString text = QStringLiteral("left from before");
        FileFault fault;
        QCOMPARE(openConfigFile(table, path, text, &fault), result);
        // Format faults are the user's; only a file that fails is the program's to log.
        QCOMPARE(readAll(m_log).contains(" in procedure OpenTavikFile of Form frmMain on line "),
                 result == FileResult::Failed);
        const bool accepted = result == FileResult::Ok;
        QVERIFY2(accepted ? text.split(QStringLiteral("\r\n")).contains(status) : text == status,
                 qPrintable(text));
        QCOMPARE(table == Untouched, !accepted);
        const QString found = fault.found.isNull() ? QString() : QString(fault.found);
        QTEST(QStringLiteral("%1:%2:%3").arg(fault.line).arg(fault.column).arg(found), "where");
        QCOMPARE(fault.what.isEmpty(), accepted);
    }

    void aSaveThatFailsKeepsThePreviousFile()
    {
        const QString path = fileWith("the previous configuration\r\n");
        // A file-size limit makes every write past it fail, for root as well.
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{1000, saved.rlim_max}; // below the file, above the log entry
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const FileResult result = saveConfigFile(variedTable(), path, Created);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(result, FileResult::Failed);
        QCOMPARE(readAll(path), QByteArray("the previous configuration\r\n"));
        QCOMPARE(QDir(m_dir.path()).entryList({"file.csv*"}, QDir::Files | QDir::Hidden).size(), 1);
        QVERIFY(readAll(m_log).contains(" in procedure SaveTavikFile of Form frmMain on line "));
    }

    // Each part of each relay, pasted onto another, reads back the same and leaves the other parts alone.
    void eachPartOfARelayPastesBackFromItsText()
    {
        using namespace RelayClipboard;
        const RelayTable table = variedTable();
        const QList<RelayPart> parts = {RelayPart::RelayMode, RelayPart::InputMode, RelayPart::InputMap,
                                        RelayPart::ClosureTime, RelayPart::Configuration};
        for (int i = 0; i < RelayCount; ++i) {
            for (const RelayPart part : parts) {
                RelayConfig source = table[size_t(i)], target = table[size_t(15 - i)];
                source.ShowUnlatch = i % 2 == 1; // relay 10, the Latching one, as source and target
                target.ShowUnlatch = i % 2 == 0;
                const RelayConfig before = target;
                const std::optional<RelayClip> clip = parse(textOf(source, part));
                QVERIFY(clip && clip->part == part);
                apply(*clip, target);
                // A mode moves the shown set itself; the whole configuration holds every part.
                for (const RelayPart other : parts) {
                    if (other == part)
                        QCOMPARE(textOf(target, other), textOf(source, other));
                    else if (part > RelayPart::RelayMode && part < RelayPart::Configuration &&
                             other != RelayPart::Configuration)
                        QCOMPARE(textOf(target, other), textOf(before, other));
                }
                QCOMPARE(target.Counter, part >= RelayPart::ClosureTime ? source.Counter : before.Counter);
            }
        }
        RelayConfig latching = table[9];
        QCOMPARE(textOf(latching, RelayPart::Configuration),
                 QStringLiteral("Tavik relay\nRelay mode: Latching\nInput mode: IL\nInput map: 1, 2, 6, 9\n"
                                "Unlatch input mode: NXOR\nUnlatch input map: 1\nClosure time: 1:57:17.10\n"));
        latching.ShowUnlatch = true;
        QCOMPARE(textOf(latching, RelayPart::InputMap), QStringLiteral("Tavik relay\nInput map: 1\n"));
    }

    // Texts typed or come from elsewhere: what each pastes, as the clipboard would write it back.
    void clipboardTextsArePastedOrRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pasted"); // empty: refused
        const auto row = [](const char *text, const char *pasted = "") {
            QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(pasted);
        };
        row(" tavik RELAY \r\n\r\n input MAP : 12 3,5\r\n", "Input map: 3, 5, 12");
        row("Tavik relay\nInput map: none", "Input map: none");
        row("Tavik relay\nClosure time: 1:2:3.4", "Closure time: 1:02:03.40");
        row("Tavik relay\nrelay mode: pulse-stretch", "Relay mode: Pulse-Stretch");
        for (const char *refused :
             {"", "shopping list", "Tavik relay", "Input map: 3", "Tavik relay\nInput map: 0",
              "Tavik relay\nInput map: 13", "Tavik relay\nInput map: 3 x",
              "Tavik relay\nInput map:", "Tavik relay\nInput map: 3\nInput map: 4",
              "Tavik relay\nRelay mode: Toggle\nInput mode: OR", "Tavik relay\nUnlatch input map: 3",
              "Tavik relay\nRelay mode: Fast", "Tavik relay\nColour: red",
              "Tavik relay\nClosure time: 46:00:00.00", "Tavik relay\nClosure time: 1:60:00",
              "Tavik relay\nClosure time: 0:00:60", "Tavik relay\nClosure time: 0:00:99.99",
              "Tavik relay\nClosure time: 1:00:00.100", "Tavik relay\nInput map 3"})
            row(refused);
    }
    void clipboardTextsArePastedOrRefused()
    {
        QFETCH(QString, text);
        QFETCH(QString, pasted);
        const std::optional<RelayClip> clip = RelayClipboard::parse(text);
        QCOMPARE(clip.has_value(), !pasted.isEmpty());
        if (clip) {
            RelayConfig relay;
            RelayClipboard::apply(*clip, relay);
            QCOMPARE(RelayClipboard::textOf(relay, clip->part),
                     QStringLiteral("Tavik relay\n") + pasted + u'\n');
        }
    }

    // Random tables through the JSON document and the CSV file and back: the JSON holds what the device is
    // told (the unlatch set only for Latching) and the contact; the CSV all but the contact.
    void randomTablesGoThroughJsonAndCsvUnchanged()
    {
        QRandomGenerator random(20261207);
        const auto map = [&random] { return inputMap(quint16(random.bounded(1 << InputCount))); };
        const QString csv = m_dir.filePath(QStringLiteral("round.csv"));
        for (int round = 0; round < 200; ++round) {
            RelayTable table{}, told;
            for (RelayConfig &relay : table) {
                relay = {.InputMap = map(), .UnlatchMap = map(), .PCControl = random.bounded(2) == 1,
                         .Closed = random.bounded(2) == 1, .RelayMode = qint16(random.bounded(RelayModeCount)),
                         .InputMode = qint16(random.bounded(InputModeCount)),
                         .UnlatchInputMode = qint16(random.bounded(InputModeCount)),
                         .Counter = qint32(random.bounded(MaxCounter + 1))};
                CounterToTime(relay);
            }
            told = table;
            for (RelayConfig &relay : told)
                if (!isLatchingMode(relay.RelayMode))
                    relay.UnlatchMap = {}, relay.UnlatchInputMode = 0;
            const std::optional<RelayTable> json = RelayJson::table(RelayJson::document(table), nullptr);
            QVERIFY(json && *json == told);
            QCOMPARE(saveConfigFile(*json, csv), FileResult::Ok);
            RelayTable back{};
            QString status;
            QCOMPARE(openConfigFile(back, csv, status), FileResult::Ok);
            for (RelayConfig &relay : told)
                relay.Closed = false;
            QVERIFY(back == told);
        }
    }

    // Hours (45) and minutes (59) as whole numbers; seconds (5999) in hundredths, shown back.
    void closureTimeTextsBecomeSliderValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown"); // seconds only
        struct Row {
            const char *text;
            int maximum, value;
            const char *shown = nullptr;
        };
        // 1.15 and 0.29 are not exact in binary: rounded, not cut.
        for (const Row &r : {Row{"", 45, 0}, {"ab", 45, 0}, {".", 45, 0}, {"-", 45, 0}, {"+", 45, 0},
                             {"1e-400", 45, 0}, {"x1", 45, 0}, {"  +9", 45, 9}, {"-7", 59, 7}, {"4e", 59, 4},
                             {"1e400", 45, 45}, {".5", 45, 0}, {"1.5", 45, 2}, {"5.07", 5999, 507, "5.07"},
                             {"1.15", 5999, 115, "1.15"}, {"0.29", 5999, 29, "0.29"},
                             {"12", 5999, 1200, "12.00"}, {"1.2.3", 5999, 120, "1.20"}, {".005", 5999, 0, "0.00"},
                             {"59.99", 5999, 5999, "59.99"}, {"75", 5999, 5999, "59.99"}})
            QTest::newRow(*r.text ? r.text : "empty")
                << QString::fromLatin1(r.text) << r.maximum << r.value << QString::fromLatin1(r.shown);
    }
    void closureTimeTextsBecomeSliderValues()
    {
        QFETCH(QString, text);
        QFETCH(int, maximum);
        QFETCH(QString, shown);
        using namespace ClosureTimeText;
        const int value = (shown.isNull() ? wholeUnitValue : hundredthsValue)(text, maximum);
        QTEST(value, "value");
        if (!shown.isNull())
            QCOMPARE(secondsText(value), shown);
    }
    void twoRelaysDifferWhereTheDeviceWouldBehaveOtherwise_data()
    {
        QTest::addColumn<qint16>("mode");
        QTest::addColumn<RelayChange>("change");
        QTest::addColumn<QString>("differences"); // each line about relay 7
        QTest::addColumn<bool>("alike");
        const qint16 toggle = 1, minTime = 6;
        const auto row = [](const char *name, qint16 mode, const RelayChange &change, const char *lines,
                            bool alike) {
            const QString differences = QString::fromLatin1(lines).replace("\n", "\nRelay 7: ");
            QTest::newRow(name) << mode << change << (*lines ? "Relay 7: " + differences : "") << alike;
        };
        const auto time = [](qint32 counter) {
            return [counter](RelayConfig &r) { r.Counter = counter; CounterToTime(r); };
        };
        row("relay mode", toggle, [](RelayConfig &r) { r.RelayMode = 0; }, "relay mode: a Toggle; b Momentary",
            false);
        row("gate", toggle, [](RelayConfig &r) { r.InputMode = 5; }, "input mode: a AND; b NAND", false);
        row("input map", toggle, [](RelayConfig &r) { r.InputMap[11] = false; }, "input map: a 1, 12; b 1",
            false);
        row("empty map, contact", toggle, [](RelayConfig &r) { r.InputMap.fill(false), r.Closed = true; },
            "input map: a 1, 12; b none\ncontact: a Open; b Closed", false);
        row("unlatch side of a Toggle", toggle, [](RelayConfig &r) {
            r.UnlatchMap[2] = true;
            r.UnlatchInputMode = 2;
        }, "", true);
        row("unlatch map of a Latching", LatchingMode, [](RelayConfig &r) { r.UnlatchMap[2] = true; },
            "unlatch map: a none; b 3", false);
        row("unlatch gate of a Latching", LatchingMode, [](RelayConfig &r) { r.UnlatchInputMode = 2; },
            "unlatch input mode: a OR; b XOR", false);
        row("to Latching", toggle, [](RelayConfig &r) {
            r.RelayMode = LatchingMode;
            r.UnlatchMap[0] = true;
        }, "relay mode: a Toggle; b Latching\nunlatch map: a none; b 1", false);
        row("time of a timed mode", minTime, time(372304), "closure time: a 0:00:00.00; b 1:02:03.04", false);
        row("hours alone", minTime, time(360000), "closure time: a 0:00:00.00; b 1:00:00.00", false);
        row("minutes alone", minTime, time(6000), "closure time: a 0:00:00.00; b 0:01:00.00", false);
        row("seconds alone", minTime, time(100), "closure time: a 0:00:00.00; b 0:00:01.00", false);
        row("time of a Toggle", toggle, time(5), "", true);
        row("time of a Latching", LatchingMode, time(5), "", true);
        row("to a timed mode", toggle, [&](RelayConfig &r) {
            r.RelayMode = minTime;
            time(5)(r);
        }, "relay mode: a Toggle; b Min-Time\nclosure time: a 0:00:00.00; b 0:00:00.05", false);
        row("PC control", toggle, [](RelayConfig &r) { r.PCControl = true; }, "PC control: a off; b on", true);
        row("contact", minTime, [](RelayConfig &r) { r.Closed = true; }, "contact: a Open; b Closed", true);
        row("editor's side", LatchingMode, [](RelayConfig &r) { r.ShowUnlatch = true; }, "", true);
    }

    void twoRelaysDifferWhereTheDeviceWouldBehaveOtherwise()
    {
        QFETCH(qint16, mode);
        QFETCH(RelayChange, change);
        RelayConfig first{.RelayMode = mode, .InputMode = 1};
        first.InputMap[0] = first.InputMap[11] = true;
        RelayConfig second = first;
        change(second);
        QStringList texts;
        for (const RelayDifference &difference : compareRelays(first, second, 7))
            texts << difference.text(QStringLiteral("a"), QStringLiteral("b"));
        QTEST(texts.join(u'\n'), "differences");
        QTEST(behavesAlike(first, second), "alike");
        QVERIFY(behavesAlike(second, second));
    }

    void eachMessageIsLoggedOrNot_data()
    {
        QTest::addColumn<int>("size"); // of the log before, header included; 0: no log
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("outcome");
        const QString handler = "Error 2001 (x) in procedure SaveTavikFile of Form frmMain on line 2";
        QTest::newRow("the first starts the log") << 0 << handler << int(Appended);
        QTest::newRow("400") << 100 << "Error 400 (Form already displayed) in procedure Main" << int(Ignored);
        QTest::newRow("401, no log made") << 0 << "Error 401 (Can't show form) in x" << int(Ignored);
        QTest::newRow("400 second of three words") << 100 << "a 400 b" << int(Ignored);
        QTest::newRow("4000") << 100 << "Error 4000 (x) in procedure P" << int(Appended);
        QTest::newRow("40") << 100 << "Error 40 (x) in procedure P" << int(Appended);
        QTest::newRow("400 first") << 100 << "400 Error (x)" << int(Appended);
        QTest::newRow("two words") << 100 << "Error 400" << int(Appended);
        QTest::newRow("131071 bytes") << 131071 << handler << int(Appended);
        QTest::newRow("131072 bytes") << 131072 << handler << int(ShownAndDeleted);
    }
    void eachMessageIsLoggedOrNot()
    {
        QFETCH(int, size);
        QFETCH(QString, message);
        QFETCH(int, outcome);
        m_notices.clear();
        if (QFile log(m_log); size > 0)
            QVERIFY(log.open(QIODevice::WriteOnly) && log.write(LogHeader.leftJustified(size, 'x')) == size);
        auto stamp = [] { return QDateTime::currentDateTime().toString("MM/dd/yyyy HH:mm ").toLatin1(); };
        const QByteArray before = readAll(m_log), earlyStamp = stamp();
        LogError(message);
        const QByteArray after = readAll(m_log), entry = message.toLatin1() + "\r\n";
        const QByteArray start = size ? before : LogHeader;
        if (outcome == Appended)
            QVERIFY(after == start + earlyStamp + entry || after == start + stamp() + entry);
        else
            QCOMPARE(after, outcome == Ignored ? before : QByteArray());
        QCOMPARE(QFile::exists(m_log), outcome == Appended || (size > 0 && outcome == Ignored));
        QCOMPARE(m_notices,
                 (outcome == ShownAndDeleted ? QStringList{m_log, oversizedLogText(), "shown"} : QStringList()));
    }
};

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
