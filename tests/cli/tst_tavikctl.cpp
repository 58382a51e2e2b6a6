// The built tavikctl as a user runs it: on files, and on devices that answer, fail or see a signal.
#include "config/relayjson.h"
#include "config/tavikfile.h"
#include "privateport.h"
#include "processrunner.h"
#include "ptydevice.h"
#include "simmenu.h"
#include "taviksimulator.h"
#include "variedrelays.h"

#include <QTcpSocket>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RelayConfig)

class TestTavikctl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    bool write(const char *name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QByteArray read(const char *name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The program (for bash, $T is tavikctl) in the test's folder, the built-in device's relays in a private one.
    ProcessRequest request(const QString &program, const QStringList &arguments) const
    {
        ProcessRequest request{program, arguments, m_dir.path()};
        request.environment.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        request.environment.insert(QStringLiteral("T"), QStringLiteral(TAVIKCTL_PATH));
        return request;
    }
    ProcessRun tavikctl(const QStringList &arguments) const { return runProcess(request(TAVIKCTL_PATH, arguments)); }

    // A device holding the varied relays, on a port of its own, and a.csv holding the same.
    void startVariedDevice(TavikSimulator &device, const SimFaults &faults = {})
    {
        QVERIFY(device.start());
        for (int i = 0; i < RelayCount; ++i)
            device.setRelay(i, variedDeviceRelay(i));
        QCOMPARE(saveConfigFile(variedTable(), path("a.csv")), FileResult::Ok);
        device.setFaults(faults);
    }

    static QJsonObject json(const ProcessRun &run) { return QJsonDocument::fromJson(run.out).object(); }
    // The table a file holds; empty when it does not load.
    RelayTable loaded(const QString &name) const
    {
        RelayTable table{};
        QString status;
        return openConfigFile(table, path(qPrintable(name)), status) == FileResult::Ok ? table : RelayTable{};
    }

    // A bash command line: pipes, FIFOs and mounts as users make them.
    ProcessRun shell(const QString &line) const
    {
        ProcessRequest bash = request(QStringLiteral("bash"), {QStringLiteral("-c"), line});
        bash.timeoutMs = 20000; // a run that waits on a FIFO is killed and fails
        return runProcess(bash);
    }

    // `before` makes what the command meets (skipped where that needs root); the command ends with `exitCode`,
    // says `said` and no terminal command; `after` then finds the target as it should be.
    static void boundaryColumns()
    {
        for (const char *column : {"before", "command", "said", "after"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("exitCode");
    }
    static void row(const char *name, const QString &before, const QString &command, int exitCode,
                    const QString &said, const QString &after = {})
    {
        QTest::newRow(name) << before << command << said << after << exitCode;
    }
    void checkBoundary()
    {
        QFETCH(QString, before);
        QFETCH(QString, command);
        QFETCH(QString, said);
        QFETCH(QString, after);
        QCOMPARE(saveConfigFile(RelayTable{}, path("a.csv"), QDateTime({2026, 12, 7}, {9, 5})), FileResult::Ok);
        if (shell(before).exitCode != 0)
            QSKIP("making what the command meets takes root here (mknod, mount, chown)");
        const ProcessRun run = shell(command);
        const int found = shell(after).exitCode;
        shell("mountpoint -q full && umount full");
        const QByteArray all = run.out + run.err;
        QVERIFY2(all.contains(said.toUtf8()) && !all.contains('\x1b') && !all.contains("\xc2\x9b") &&
                     run.err.size() < 1000,
                 all.left(2000).constData());
        QTEST(run.exitCode, "exitCode");
        QCOMPARE(found, 0);
    }

private slots:
    void aTableProgrammedIntoTheDeviceReadsBackEqual()
    {
        // Every mode and gate; relay 5, Either-Edge, with the longest time.
        RelayTable written = variedTable();
        written[4].Counter = MaxCounter;
        CounterToTime(written[4]);
        QCOMPARE(saveConfigFile(written, path("a.csv")), FileResult::Ok);
        const ProcessRun programmed = tavikctl({"program", "-i", "a.csv", "--simulate"});
        QCOMPARE(programmed.exitCode, 0);
        QVERIFY(programmed.err.contains("Programming relay 16 of 16...\n"));
        QCOMPARE(tavikctl({"read", "-o", "b.csv", "--simulate"}).exitCode, 0);
        QVERIFY(loaded("b.csv") == written);
        QCOMPARE(tavikctl({"read", "--relay", "3", "--simulate"}).out,
                 QByteArray("Relay 3\nMode: Latching\nGate: XOR of inputs 1, 2, 3, 4, 6, 7, 8, 9, 11\n"
                            "Unlatch gate: NAND of inputs 1, 12\nClosure time: 0:00:00.00\n"
                            "Contact: Open\nPC control: No\n"));
        // The live commands reach the same relays.
        QCOMPARE(tavikctl({"pc-control", "on", "--relay", "6", "--simulate"}).exitCode, 0);
        QCOMPARE(tavikctl({"latch", "--relay", "6", "--simulate"}).exitCode, 0);
        const ProcessRun live = tavikctl({"read", "--relay", "6", "--simulate"});
        QVERIFY2(live.out.endsWith("Contact: Closed\nPC control: Yes\n"), live.out.constData());
    }

    void theFileCommandsMakeShowFindFaultsAndCompare()
    {
        QCOMPARE(tavikctl({"report", "-i", "c.csv", "-o", "c.txt"}).exitCode, 2); // no such kind of record

        RelayTable first{};
        first[2].RelayMode = LatchingMode;
        RelayTable second = first;
        second[2].UnlatchMap[1] = true;
        second[9].PCControl = true;
        QCOMPARE(saveConfigFile(first, path("d1.csv")), FileResult::Ok);
        QCOMPARE(saveConfigFile(second, path("d2.csv")), FileResult::Ok);
        const ProcessRun differs = tavikctl({"diff", "--json", "d1.csv", "d2.csv"});
        QCOMPARE(differs.exitCode, 4);
        const QJsonArray differences = json(differs).value("differences").toArray();
        QCOMPARE(differences.size(), 2);
        QCOMPARE(differences.at(0).toObject().value("second").toString(), QStringLiteral("2"));
        QCOMPARE(differences.at(1).toObject().value("counts").toBool(), false);
        // The text lists what counts; --all the rest too.
        QCOMPARE(tavikctl({"diff", "d1.csv", "d2.csv"}).out,
                 QByteArray("Relay 3: unlatch map: d1.csv none; d2.csv 2\n"
                            "1 field that is not programmed (PC control, contact) differs; --all lists it.\n"
                            "The files differ in relay 3.\n"));
        QVERIFY(tavikctl({"diff", "--all", "d1.csv", "d2.csv"})
                    .out.contains("Relay 10: PC control: d1.csv off; d2.csv on (not programmed, does not count)\n"));
        const ProcessRun same = tavikctl({"diff", "d1.csv", "d1.csv"});
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out, QByteArray("The files configure every relay alike.\n"));
    }

    // An output that cannot be written whole ends with 8, says why, and leaves what was there as it was: a node,
    // a link to one, an old file on a full disk. A file saved over through a link keeps the link, owner and mode.
    void whatCannotBeWrittenWholeIsLeftAsItWas_data()
    {
        boundaryColumns();
        row("new onto a FIFO", "mkfifo o1", "$T new -o o1", 8, "o1 is not a regular file", "test -p o1");
        // A node of the test's own: a tool that failed here would replace /dev/null.
        row("read -o through a link to a FIFO", "mkfifo o2f && ln -s o2f o2", "$T read -o o2 --simulate", 8,
            "o2 is a link to " + path("o2f") + ", which is not a regular file", "test -L o2 -a -p o2f");
        row("a record onto a device node", "mknod o3.pdf c 1 3", "$T report -i a.csv -o o3.pdf", 8,
            "o3.pdf is not a regular file", "test -c o3.pdf");
        for (const QString file : {"r.pdf", "r.html", "c.csv"})
            row(qPrintable(file + " on a full disk"),
                "mkdir -p full && mount -t tmpfs -o size=256k tmpfs full && echo old >full/" + file +
                    " && { cat /dev/zero >full/filler; true; } 2>/dev/null",
                file == "c.csv" ? "$T new -o full/c.csv" : "$T report -i a.csv -o full/" + file, 8,
                "full/" + file + " could not be written (No space left on device); the file there is unchanged",
                "test \"$(cat full/" + file + ")\" = old");
        row("a link to a file of another owner", "echo old >o4 && chown 4321:8765 o4 && chmod 604 o4 && ln -s o4 o5",
            "$T new -o o5", 0, "", "test -L o5 -a \"$(stat -c '%u:%g %a' o4)\" = '4321:8765 604' && grep -q 'Relay 16' o4");
    }
    void whatCannotBeWrittenWholeIsLeftAsItWas() { checkBoundary(); }

    // What a user may name as a file: a pipe or a FIFO is read as a stream and never waited on, a line or a
    // list too long is refused in a few words, and nothing of the file reaches the terminal as a command.
    void whatIsReadIsBoundedAndNeverWaitedOn_data()
    {
        boundaryColumns();
        row("a pipe", "", "$T new -o n.csv && $T show <(cat n.csv)", 0,
            "Relay 16: Momentary; OR of no input; time 0:00:00.00; Open; PC control No\n");
        row("ports from a pipe", "", "$T read --ports-from <(echo /no/port)", 2, "no such device '/no/port'");
        row("a FIFO without a writer", "mkfifo f1", "$T program -i f1 --simulate", 3,
            "f1: the file ends after line 0 of 20");
        row("ports from a FIFO without a writer", "mkfifo f2", "$T read --ports-from f2", 2, "f2 names no port");
        row("a byte-order mark", "{ printf '\\357\\273\\277'; cat a.csv; } >bom.csv", "$T show bom.csv", 0,
            "Relay 16: Momentary");
        row("10 MB on one line", "head -c 10M /dev/zero >z1", "$T show z1", 3,
            "z1: line 1: the line is longer than 4096 bytes");
        row("ports: 10 MB on one line", "head -c 10M /dev/zero | tr '\\0' x >z2", "$T read --ports-from z2", 2,
            "line 1 of z2 is longer than 4096 bytes: xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\n");
        row("ports: 5 MB", "yes /dev/null | head -c 5M >z3", "$T read --ports-from z3", 2,
            "z3 is larger than 4194304 bytes");
        row("a control character at fault", "sed 's/, Relay 2, 0, 0, BIN 0/, Relay 2, 0, 0, BIN \\x9b/' a.csv >c2.csv",
            "$T show c2.csv", 3,
            "tavikctl: c2.csv: Incorrect file format: line 6, column 22 ('\\x9b'): the input map of relay 2 holds '\\x9b'");
    }
    void whatIsReadIsBoundedAndNeverWaitedOn() { checkBoundary(); }

    // What the device would not take loads, is named wherever the relay is shown, and is never sent.
    void aValueTheDeviceDoesNotTakeIsNamedAndNeverSent_data()
    {
        QTest::addColumn<RelayConfig>("relay1");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("difference"); // diff a.csv b.csv
        QTest::newRow("input mode 9") << RelayConfig{.InputMode = 9} << "Relay 1: input mode out of range (9)"
                                      << "Relay 1: input mode: a.csv OR; b.csv out of range (9)\n";
        QTest::newRow("a Latching relay's unlatch input mode 8")
            << RelayConfig{.RelayMode = LatchingMode, .UnlatchInputMode = 8}
            << "Relay 1: unlatch input mode out of range (8)"
            << "Relay 1: unlatch input mode: a.csv OR; b.csv out of range (8)\n";
        QTest::newRow("46 hours") << RelayConfig{.RelayMode = 2, .Counter = 0xFFFFFF}
                                  << "Relay 1: hours out of range (46)"
                                  << "Relay 1: closure time: a.csv 0:00:00.00; b.csv out of range (46:36:12.15)\n";
    }
    void aValueTheDeviceDoesNotTakeIsNamedAndNeverSent()
    {
        QFETCH(RelayConfig, relay1);
        QFETCH(QString, note);
        QFETCH(QString, difference);
        RelayTable table{};
        table[0] = relay1;
        QVERIFY(saveConfigFile({}, path("a.csv")) == FileResult::Ok && saveConfigFile(table, path("b.csv")) == FileResult::Ok);
        const ProcessRun shown = tavikctl({"show", "b.csv"});
        QVERIFY2(shown.out.endsWith("Relay 16: Momentary; OR of no input; time 0:00:00.00; Open; PC control No\n" +
                                    note.toUtf8() + '\n'),
                 shown.out.constData());
        QVERIFY(tavikctl({"diff", "a.csv", "b.csv"}).out.contains(difference.toUtf8()));

        TavikSimulator device;
        QVERIFY(device.start());
        const QString port = privatePortPath(device.portPath());
        const ProcessRun programmed = tavikctl({"program", "-i", "b.csv", "--port", port});
        QVERIFY2(programmed.err.contains(note.toUtf8() + "; the relay was not programmed.\n"),
                 programmed.err.constData());
        QCOMPARE(programmed.exitCode, 3);
        // A read then finds the device at its menu, all it heard being the read's.
        QCOMPARE(tavikctl({"read", "--relay", "2", "--port", port}).exitCode, 0);
        QCOMPARE(device.received(), QByteArray("r2\r"));
    }

    void aFileThatDoesNotLoadEndsWithThreeAndIsNamed_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("failure"); // tavikctl's first line on stderr, or in JSON the file named
        const QString bad =
            "tavikctl: bad.csv: line 1, column 1 ('s'): line 1 should read Tavik Configuration File,";
        QTest::newRow("diff") << QStringList{"diff", "good.csv", "bad.csv"} << bad;
        QTest::newRow("diff, JSON") << QStringList{"diff", "--json", "bad.csv", "good.csv"} << "bad.csv";
        QTest::newRow("verify") << QStringList{"verify", "-i", "bad.csv", "--simulate"} << bad;
        QTest::newRow("verify, JSON") << QStringList{"verify", "-i", "none.csv", "--simulate", "--json"}
                                      << "none.csv";
        QTest::newRow("report") << QStringList{"report", "-i", "none.csv", "-o", "none.pdf"}
                                << "tavikctl: none.csv: No such file or directory";
        QTest::newRow("show") << QStringList{"show", "bad.csv"}
                              << "tavikctl: bad.csv: Incorrect file format: line 1, column 1 ('s'): line 1 should "
                                 "read Tavik Configuration File,";
        QTest::newRow("set") << QStringList{"set", "bad.csv", "--relay", "1", "--mode", "Toggle"} << bad;
        QTest::newRow("program") << QStringList{"program", "-i", "none.json", "--simulate"}
                                 << "tavikctl: none.json: No such file or directory";
        QTest::newRow("JSON, not a configuration")
            << QStringList{"diff", "good.csv", "bad.json"}
            << "tavikctl: bad.json: relay 1: \"relayMode\" is not a value a relay takes";
    }
    void aFileThatDoesNotLoadEndsWithThreeAndIsNamed()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, failure);
        QCOMPARE(saveConfigFile(RelayTable{}, path("good.csv")), FileResult::Ok);
        QVERIFY(write("bad.csv", "shopping list\r\n") &&
                write("bad.json", RelayJson::document(RelayTable{}).replace("\"Momentary\"", "\"Momentarily\"")));
        const ProcessRun run = tavikctl(command);
        QCOMPARE(run.exitCode, 3);
        if (command.contains("--json"))
            QCOMPARE(json(run).value("failure").toObject().value("file").toString(), failure);
        else
            QCOMPARE(QString::fromUtf8(run.err).split(u'\n').filter(QStringLiteral("tavikctl: ")).value(0),
                     failure);
    }

    // Each command has a page of its own, through COMMAND --help and help COMMAND alike: what it takes, an
    // example and its exit codes; on a pipe no line is wider than 80 columns.
    void everyCommandHasItsOwnHelp()
    {
        const ProcessRun overview = tavikctl({"--help"});
        for (const QString command : {"show", "new", "set", "ports", "doctor", "read", "program", "verify", "diff",
                                      "report", "pc-control", "latch", "moment", "help"}) {
            QVERIFY(overview.out.contains("\n  " + command.toUtf8() + "  "));
            const ProcessRun page = tavikctl({command, "--help"});
            QCOMPARE(page.exitCode, 0);
            QCOMPARE(page.out, tavikctl({"help", command}).out);
            QVERIFY2(page.out.startsWith("Usage: tavikctl " + command.toUtf8() + ' ') &&
                         page.out.contains("\nExample:\n  tavikctl " + command.toUtf8()) &&
                         page.out.contains("\nExit codes:\n  0 "),
                     page.out.constData());
            for (const QByteArray &line : (overview.out + page.out).split('\n'))
                QVERIFY2(line.size() <= 80, line.constData());
        }
    }

    void aCommandLineThatCannotRunIsNamed_data()
    {
        boundaryColumns();
        row("a letter twice", "", "$T reed", 2, "tavikctl: unknown command 'reed'; did you mean 'read'?");
        row("help for a slip", "", "$T help vrify", 2, "tavikctl: unknown command 'vrify'; did you mean 'verify'?");
        row("nothing near", "", "$T frobnicate", 2, "tavikctl: unknown command 'frobnicate'\n");
        row("relay 17", "", "$T read --relay 17 --simulate", 2, "read: --relay takes a relay number from 1 to 16");
        row("one file for two ports", "", "$T read -o x.csv --port /dev/ttyS0 --port /dev/ttyS1", 2,
            "read: -o with several ports needs {port} in FILE, such as -o 'site-{port}.csv'");
        row("no such adapter", "", "$T read --port serial:NO-SUCH-ADAPTER", 2,
            "--port: no adapter has the serial number 'NO-SUCH-ADAPTER'");
    }
    void aCommandLineThatCannotRunIsNamed() { checkBoundary(); }

    // set changes the given fields of one relay, CSV and JSON alike, or refuses and leaves the file untouched.
    void setChangesOneRelayOrNothing_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("refused"); // empty: taken
        const QByteArray modes = "Momentary, Toggle, Leading-Edge, Trailing-Edge, Either-Edge, Pulse-Stretch, "
                                 "Min-Time, Max-Time, Debounce, Latching";
        QTest::newRow("by name") << QStringList{"--mode", "min-time", "--gate", "NaNd", "--inputs", "1,3,12", "--time",
                                                "0:00:02.5", "--pc-control", "on"} << QByteArray();
        QTest::newRow("an unknown mode") << QStringList{"--mode", "Minimum"}
                                         << "set: --mode takes " + modes + ", not 'Minimum'";
        QTest::newRow("input 13") << QStringList{"--inputs", "1,13"}
                                  << QByteArray("set: --inputs takes input numbers 1 to 12 such as 1,3,12, or none, not '1,13'");
        QTest::newRow("46 hours") << QStringList{"--time", "46:00:00"}
                                  << QByteArray("set: --time takes H:MM:SS.hh up to 45:59:59.99, such as 0:00:02.50, not '46:00:00'");
        QTest::newRow("an unknown gate") << QStringList{"--unlatch-gate", "XAND"}
                                         << QByteArray("set: --unlatch-gate takes OR, AND, XOR, IL, NOR, NAND, NXOR, NIL, not 'XAND'");
        QTest::newRow("relay 17") << QStringList{"--relay", "17", "--mode", "Toggle"}
                                  << QByteArray("set: --relay takes 1 to 16, not '17'");
        QTest::newRow("nothing to change") << QStringList{} << QByteArray("set: nothing to change");
    }
    void setChangesOneRelayOrNothing()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, refused);
        for (const char *name : {"s.csv", "s.json"}) {
            QCOMPARE(tavikctl({"new", "-o", name}).exitCode, 0);
            const QByteArray before = read(name);
            const ProcessRun run = tavikctl(QStringList{"set", name, "--relay", "5"} + options);
            QVERIFY2(run.exitCode == (refused.isEmpty() ? 0 : 2), run.err.constData());
            QVERIFY2(run.err.contains(refused), run.err.constData());
            if (!refused.isEmpty()) {
                QCOMPARE(read(name), before);
                continue;
            }
            // The device takes what set wrote; the other relays keep every field.
            TavikSimulator device;
            QVERIFY(device.start());
            QCOMPARE(tavikctl({"program", "-i", name, "--port", privatePortPath(device.portPath())}).exitCode, 0);
            QVERIFY(device.relay(4) == (SimRelay{.mode = 7, .gate = 9, .map = 0x805, .counter = 250}));
            QVERIFY(device.relay(3) == SimRelay{});
            const ProcessRun shown = tavikctl({"show", name});
            QVERIFY2(shown.out.split('\n').at(4) == "Relay  5: Min-Time; NAND of inputs 1, 3, 12; time 0:00:02.50; Open; PC control Yes",
                     shown.out.constData());
        }
    }

    // A device that confirms every program and yet keeps its relay as it was.
    void aProgramThatDoesNotTakeEndsWithFourAndSaysSo()
    {
        SimMenu menu;
        for (int i = 0; i < RelayCount; ++i)
            menu.setRelay(i, i == 4 ? SimRelay{} : variedDeviceRelay(i));
        PtyDevice device;
        device.setResponder([&menu](char c) {
            QByteArray out = menu.receive(c == 'y' ? 'n' : c);
            if (c == 'y' && !out.isEmpty())
                out[0] = 'y';
            return out;
        });
        QCOMPARE(saveConfigFile(variedTable(), path("a.csv")), FileResult::Ok);
        QProcess run;
        run.setWorkingDirectory(m_dir.path());
        QSignalSpy ended(&run, &QProcess::finished);
        run.start(TAVIKCTL_PATH, {"program", "-i", "a.csv", "--changed", "--relay", "5", "--port",
                                  privatePortPath(device.portPath())});
        QVERIFY(ended.wait(60000));
        const QByteArray out = run.readAllStandardOutput();
        QCOMPARE(run.exitCode(), 4);
        QVERIFY2(out.startsWith("Programmed relays: 5\n") &&
                     out.endsWith("The device still differs from a.csv.\n"),
                 out.constData());
    }

    // The record's text a page at a time: pdftotext for a PDF (pages end in a form feed), the text of an HTML.
    QStringList recordPages(const QString &name) const
    {
        if (name.endsWith(u".html")) {
            QString text = QString::fromUtf8(read(qPrintable(name))).remove(QRegularExpression("<[^>]*>"));
            return {text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))};
        }
        const ProcessRun text = runProcess({QStringLiteral("pdftotext"), {name, QStringLiteral("-")}, m_dir.path()});
        return QString::fromUtf8(text.out).split(u'\f');
    }

    void theRecordHoldsEachRelayOnOnePage_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("relay");
        QTest::newRow("Latching, A4") << "r.pdf" << "a4" << "Relay 3\nRelay mode: Latching\nInput mode: XOR\n"
                                      "Input map: 1, 2, 3, 4, 6, 7, 8, 9, 11\nUnlatch mode: NAND\nUnlatch map: 1, 12\n";
        QTest::newRow("timed, Letter") << "r.pdf" << "letter" << "Relay 5\nRelay mode: Either-Edge\nInput mode: NOR\n"
                                       "Input map: 1, 4, 5, 6, 10, 11\nClosure time: 0:00:04.12\n";
        QTest::newRow("untimed, HTML") << "r.html" << "" << "Relay 1\nRelay mode: Momentary\nInput mode: OR\n"
                                       "Input map: 1, 3, 6, 8, 9, 11\n\n";
    }

    void theRecordHoldsEachRelayOnOnePage()
    {
        QFETCH(QString, record);
        QFETCH(QString, page);
        QFETCH(QString, relay);
        if (record.endsWith(u".pdf") && QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils, see scripts/install-deps.sh) is not installed");
        QCOMPARE(saveConfigFile(variedTable(), path("site.csv")), FileResult::Ok);
        QStringList arguments{"report", "-i", "site.csv", "-o", record, "--title", "Pump house & well"};
        if (!page.isEmpty())
            arguments << "--page" << page;
        ProcessRequest asRoot = request(TAVIKCTL_PATH, arguments);
        asRoot.environment.remove(QStringLiteral("XDG_RUNTIME_DIR")); // as root without a login session
        const ProcessRun run = runProcess(asRoot);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray()); // nothing of the toolkit's own
        const QStringList pages = recordPages(record);
        const QString &first = pages.first();
        QVERIFY2(first.contains(QStringLiteral("Pump house & well\n")) &&
                     first.contains(QStringLiteral("File: site.csv\n")) && first.contains(QStringLiteral(" v1.0.0\n")),
                 qPrintable(first));
        const auto holder = std::find_if(pages.cbegin(), pages.cend(),
                                         [&relay](const QString &text) { return text.contains(relay.section(u'\n', 0, 0) + u'\n'); });
        QVERIFY(holder != pages.cend());
        QVERIFY2(holder->contains(relay), qPrintable(*holder));
        if (record.endsWith(u".html")) {
            // A picture for each relay and one more for relay 3's unlatching inputs.
            QCOMPARE(read("r.html").count("<img src=\"data:image/png;base64,"), 17);
        } else {
            const ProcessRun info = runProcess({QStringLiteral("pdfinfo"), {record}, m_dir.path()});
            QVERIFY(info.out.contains(page == u"a4" ? "595 x 842 pts" : "612 x 792 pts"));
        }
    }

    void aDeviceThatDoesNotAnswerEndsWithOne()
    {
        TavikSimulator device;
        device.setFaults({.silent = true});
        QVERIFY(device.start());
        const QString link = privatePortPath(device.portPath());
        const ProcessRun run = tavikctl({"read", "--relay", "1", "--port", link});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.elapsedMs >= 3000, QByteArray::number(run.elapsedMs)); // the device's 3.1 s, all of it
        QVERIFY2(run.err.contains("Could not communicate with Tavik. Please check COM settings, power, and "
                                  "signal cables.\ntavikctl: reading relay 1 failed with result 3 (Tavik did "
                                  "not answer in time)\n"),
                 run.err.constData());

        // Silent devices at once wait out their timeouts side by side, not one after another.
        TavikSimulator others[2];
        QStringList three{"read", "--relay", "1", "--port", link};
        for (TavikSimulator &other : others) {
            other.setFaults({.silent = true});
            QVERIFY(other.start());
            three << "--port" << privatePortPath(other.portPath());
        }
        const ProcessRun silent = tavikctl(three);
        QCOMPARE(silent.exitCode, 1);
        QVERIFY2(silent.elapsedMs < 2 * run.elapsedMs, QByteArray::number(silent.elapsedMs));
        const ProcessRun ports = tavikctl({"ports", "--long", "--port", link});
        const QString entry = QStringLiteral(" (%1)\n  Path: %2\n  Device: %3\n")
                                  .arg(QFileInfo(link).fileName(), link, device.portPath());
        QVERIFY2(ports.out.contains(entry.toUtf8()), ports.out.constData());
        QVERIFY(tavikctl({"ports", "--simulate"}).out.contains(" (simulated Tavik)\n"));
        const QJsonArray all = QJsonDocument::fromJson(tavikctl({"ports", "--json", "--port", link}).out).array();
        QVERIFY(std::any_of(all.begin(), all.end(), [&](const QJsonValue &port) {
            return port.toObject().value("path").toString() == link;
        }));
    }
    void theDeviceIsCheckedAgainstAFileAndOnlyWhatDiffersIsProgrammed()
    {
        TavikSimulator device;
        startVariedDevice(device);
        const QString port = privatePortPath(device.portPath());
        const ProcessRun same = tavikctl({"verify", "-i", "a.csv", "--relay", "3", "--port", port});
        QCOMPARE(same.exitCode, 0);
        QCOMPARE(same.out, QByteArray("The device holds a.csv (relay 3 checked).\n"));

        SimRelay changed = variedDeviceRelay(4);
        changed.map = 0x005; // inputs 1 and 3
        device.setRelay(4, changed);
        const ProcessRun differs = tavikctl({"verify", "-i", "a.csv", "--port", port, "--json"});
        QCOMPARE(differs.exitCode, 4);
        const QJsonObject report = json(differs);
        QCOMPARE(report.value("differing").toArray(), QJsonArray{5});
        const QJsonObject difference = report.value("differences").toArray().at(0).toObject();
        QCOMPARE(difference.value("field").toString(), QStringLiteral("input map"));
        QCOMPARE(difference.value("device").toString(), QStringLiteral("1, 3"));
        QCOMPARE(difference.value("file").toString(), QStringLiteral("1, 4, 5, 6, 10, 11"));

        const ProcessRun programmed = tavikctl({"program", "-i", "a.csv", "--changed", "--json", "--port", port});
        QCOMPARE(programmed.exitCode, 0);
        const QJsonObject outcome = json(programmed);
        QCOMPARE(outcome.value("programmed").toArray(), QJsonArray{5});
        QCOMPARE(outcome.value("left").toArray().size(), 15);
        QCOMPARE(outcome.value("relays").toArray().at(4).toObject().value("verified").toBool(), true);
        QVERIFY(device.relay(4) == variedDeviceRelay(4));

        // The Latching relay 3 is unlatched by NAND of the first and the last input.
        const ProcessRun read = tavikctl({"read", "--relay", "3", "--json", "--port", port});
        const QJsonObject relay3 = json(read).value("relays").toArray().at(0).toObject();
        QCOMPARE(relay3.value("unlatchInputs").toArray(), (QJsonArray{1, 12}));
        QCOMPARE(relay3.value("relayMode").toString(), QStringLiteral("Latching"));
    }

    // What the device hears, byte for byte: one relay's dialogue after another, no escape while it answers.
    void aWholeCommandPutsItsDialoguesOnTheWireAndNothingElse_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QByteArray>("wire");
        const auto reads = [](int first, int last) {
            QByteArray wire;
            for (int relay = first; relay <= last; ++relay)
                wire += "r" + QByteArray::number(relay) + "\r";
            return wire;
        };
        QByteArray programAll = "p1\r7\r3\r0\r0\r9\r1\r2\r3\r4\ry"
                                "p2\r10\r0\r0\r8\r2\r0\r1\r0\r11\ry"
                                "p3\r1\r15\r0\r0\r1\ry";
        for (int relay = 4; relay <= RelayCount; ++relay)
            programAll += "p" + QByteArray::number(relay) + "\r1\r0\r0\r0\r0\ry";
        const QByteArray readAll = reads(1, RelayCount);
        QTest::newRow("read all") << QStringList{"read", "-o", "b.csv"} << readAll;
        QTest::newRow("verify") << QStringList{"verify", "-i", "a.csv"} << readAll;
        QTest::newRow("program all") << QStringList{"program", "-i", "mixed.csv"} << programAll;
        // Relay 5 made Toggle in the file (inputs 1, 4, 5, 6, 10, 11, NOR) is read back before relay 6.
        QTest::newRow("program --changed") << QStringList{"program", "-i", "changed.csv", "--changed"}
                                           << reads(1, 5) + "p5\r2\r9\r3\r6\r8\ryr5\r" + reads(6, RelayCount);
        // The relay is read first, for whether it is under PC control already.
        QTest::newRow("pc-control") << QStringList{"pc-control", "on", "--relay", "6"} << QByteArray("r6\r\033c6\r");
    }
    void aWholeCommandPutsItsDialoguesOnTheWireAndNothingElse()
    {
        QFETCH(QStringList, command);
        TavikSimulator device;
        startVariedDevice(device);
        // Relay 1 Min-Time, NAND of inputs 1 and 2, 1:02:03.04; relay 2 Latching, XOR of input 12, unlatched
        // by NIL of input 5; relay 3 Momentary, AND of inputs 1 to 4; the rest as new.
        RelayTable mixed{}, changed = variedTable();
        mixed[0] = {.InputMap = inputMap(0x003), .RelayMode = 6, .InputMode = 5, .Counter = 372304};
        CounterToTime(mixed[0]);
        mixed[1] = {.InputMap = inputMap(0x800), .UnlatchMap = inputMap(0x010), .RelayMode = LatchingMode,
                    .InputMode = 2, .UnlatchInputMode = 7};
        mixed[2] = {.InputMap = inputMap(0x00F), .InputMode = 1};
        changed[4].RelayMode = 1;
        QVERIFY(saveConfigFile(mixed, path("mixed.csv")) == FileResult::Ok &&
                saveConfigFile(changed, path("changed.csv")) == FileResult::Ok);
        const ProcessRun run = tavikctl(command << "--port" << privatePortPath(device.portPath()));
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QFETCH(QByteArray, wire);
        QTRY_COMPARE(device.received(), wire);
    }

    void aSignalCancelsAndLeavesTheDeviceAtItsMenu_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("SIGINT") << SIGINT << 130;
        QTest::newRow("SIGTERM") << SIGTERM << 143;
    }

    void aSignalCancelsAndLeavesTheDeviceAtItsMenu()
    {
        QFETCH(int, signal);
        TavikSimulator device;
        startVariedDevice(device, {.paced = true});
        const SimRelay before = device.relay(15);
        RelayTable wanted;
        wanted.fill({.RelayMode = LatchingMode});
        QCOMPARE(saveConfigFile(wanted, path("latching.csv")), FileResult::Ok);
        const QString port = privatePortPath(device.portPath());
        QProcess run;
        run.setWorkingDirectory(m_dir.path());
        run.start(TAVIKCTL_PATH, {"program", "-i", "latching.csv", "--json", "--port", port});
        // Relay 2's command character: relay 1 is programmed.
        QTRY_VERIFY_WITH_TIMEOUT(device.received().count('p') >= 2, 20000);
        ::kill(pid_t(run.processId()), signal);
        QVERIFY(run.waitForFinished(10000));
        QTEST(run.exitCode(), "exitCode");
        const QJsonObject report = QJsonDocument::fromJson(run.readAllStandardOutput()).object();
        QCOMPARE(report.value("cancelled").toBool(), true);
        const QJsonArray programmed = report.value("programmed").toArray();
        QVERIFY(!programmed.isEmpty() && programmed.size() < RelayCount);
        for (int i = 0; i < programmed.size(); ++i) {
            QCOMPARE(programmed.at(i).toInt(), i + 1);
            QCOMPARE(device.relay(i).mode, 10);
        }
        QVERIFY(device.relay(15) == before);
        // The last thing the device heard is escape, which leaves it at its menu.
        QTRY_VERIFY(device.received().endsWith('\x1b'));
        device.clearReceived();
        const ProcessRun read = tavikctl({"read", "--relay", "1", "--port", port});
        QCOMPARE(read.exitCode, 0);
        QVERIFY2(!device.received().contains('\x1b'), device.received().constData()); // no restart needed
    }

    // One SIGTERM ends a run blocked in the system, where no cancel reaches it: writing into a full FIFO.
    void oneSignalEndsARunWhoseOutputNobodyTakes()
    {
        const QString fifo = path("out");
        QCOMPARE(mkfifo(qPrintable(fifo), 0600), 0);
        const int reader = ::open(qPrintable(fifo), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(reader >= 0 && fcntl(reader, F_SETPIPE_SZ, 4096) == 4096);
        TavikSimulator device;
        QVERIFY(device.start());
        QProcess run;
        run.setStandardOutputFile(fifo);
        run.start(TAVIKCTL_PATH, {"read", "--json", "--port", device.portPath()}); // over 4096 bytes
        int queued = 0;
        QTRY_VERIFY_WITH_TIMEOUT(ioctl(reader, FIONREAD, &queued) == 0 && queued == 4096, 20000);
        ::kill(pid_t(run.processId()), SIGTERM);
        QVERIFY(run.waitForFinished(10000));
        ::close(reader);
        QCOMPARE(run.exitCode(), 143);
    }

    // A FIFO planted as the port's lock file, which opening the port would read, is refused at once.
    void aLockFileThatWouldBlockIsRefused()
    {
        if (!QFileInfo(QStringLiteral("/var/lock")).isWritable())
            QSKIP("the system's lock folder is closed to this user; run as root");
        TavikSimulator device;
        QVERIFY(device.start());
        const QString lock = "/var/lock/LCK.." + device.portPath().mid(5).replace('/', '_');
        QFile::remove(lock); // the terminal was just made: a lock for it is a dead program's
        QCOMPARE(mkfifo(qPrintable(lock), 0644), 0);
        const auto planted = qScopeGuard([&] { QFile::remove(lock); });
        const ProcessRun read = tavikctl({"read", "--relay", "1", "--port", device.portPath()});
        QCOMPARE(read.exitCode, 1);
        QVERIFY2(read.err.contains(device.portPath().toUtf8() + " cannot be opened: its lock file " +
                                   lock.toUtf8() + " is not a regular file; remove it."),
                 read.err.constData());
    }

    // Progress: one line redrawn in place and wiped on a terminal, a line a relay on a pipe, none with --quiet.
    void progressIsOneLineOnATerminalAndLinesOnAPipe()
    {
        const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
        const auto closing = qScopeGuard([terminal] { ::close(terminal); });
        ProcessRequest onTerminal = request(TAVIKCTL_PATH, {"read", "-o", "t.csv", "--simulate"});
        onTerminal.errorFile = QString::fromLocal8Bit(ptsname(terminal));
        QCOMPARE(runProcess(onTerminal).exitCode, 0);
        QByteArray drawn(1 << 16, '\0');
        const int flags = fcntl(terminal, F_GETFL);
        QVERIFY(fcntl(terminal, F_SETFL, flags | O_NONBLOCK) == 0);
        drawn.truncate(std::max<qsizetype>(0, ::read(terminal, drawn.data(), size_t(drawn.size()))));
        QVERIFY2(drawn.contains("\rReading relay 1 of 16  [---") && drawn.contains("\rReading relay 16 of 16  [###") &&
                     drawn.contains("\r\x1b[KRead 16 relays on the simulated device in ") && !drawn.contains("..."),
                 drawn.constData());

        const ProcessRun piped = tavikctl({"read", "-o", "p.csv", "--simulate"});
        QVERIFY2(piped.err.startsWith("Reading relay 1 of 16...\nReading relay 2 of 16...\n") &&
                     piped.err.contains("Reading relay 16 of 16...\nRead 16 relays on the simulated device in ") &&
                     !piped.err.contains('\r'),
                 piped.err.constData());
        QCOMPARE(tavikctl({"program", "-i", "p.csv", "--quiet", "--simulate"}).err, QByteArray());
    }

    // A second program on the simulator's TCP line is told at once that the device is busy.
    void aBusySimulatorIsSaidToBe()
    {
        TavikSimulator device;
        device.listenOn("127.0.0.1", 0);
        QVERIFY(device.start());
        const QUrl address(device.portPath());
        QTcpSocket first;
        first.connectToHost(address.host(), quint16(address.port()));
        QVERIFY(first.waitForConnected(5000) && first.write("x") == 1 && first.waitForReadyRead(5000));
        const ProcessRun read = tavikctl({"read", "--relay", "1", "--port", device.portPath()});
        QCOMPARE(read.exitCode, 1);
        QVERIFY2(read.err.contains(": the serial server at " + address.authority().toUtf8() +
                                   " is busy: another program is connected."),
                 read.err.constData());
        // Not after the 2.5 s that a server is given to take the connection.
        QVERIFY2(read.elapsedMs < 2500, qPrintable(QString::number(read.elapsedMs)));
    }

    void severalDevicesRunAtOnceAndOneFailingLeavesTheOthers_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("done"); // what the JSON of a healthy device lists; empty: no JSON
        QTest::newRow("read, JSON, a file each")
            << QStringList{"read", "--json", "-o", "site-{port}.csv"} << "relays";
        QTest::newRow("read") << QStringList{"read"} << "";
        QTest::newRow("program, JSON") << QStringList{"program", "-i", "a.csv", "--json"} << "programmed";
        QTest::newRow("verify, JSON") << QStringList{"verify", "-i", "a.csv", "--json"} << "relays";
        QTest::newRow("program --changed, JSON") << QStringList{"program", "--changed", "-i", "a.csv", "--json"}
                                                 << "left";
    }

    void severalDevicesRunAtOnceAndOneFailingLeavesTheOthers()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, done);
        TavikSimulator devices[3];
        QStringList ports;
        for (int d = 0; d < 3; ++d) {
            startVariedDevice(devices[d], {.hangUpAfterOutput = d == 1 ? 900 : -1});
            ports << privatePortPath(devices[d].portPath());
        }
        QVERIFY(write("ports.txt", "# the last two\n\n" + ports.at(1).toUtf8() + "\n" + ports.at(2).toUtf8() + "\n"));
        const ProcessRun run = tavikctl(command + QStringList{"--port", ports.at(0), "--ports-from", "ports.txt"});
        QCOMPARE(run.exitCode, 1);
        if (done.isEmpty()) {
            // Every line names its port; the healthy devices' relays, or the failing one's fault.
            const QList<QByteArray> out = run.out.split('\n');
            QCOMPARE(out.size(), 2 * RelayCount + 1);
            for (const QByteArray &line : out.mid(0, out.size() - 1))
                QVERIFY2(line.startsWith(ports.at(0).toUtf8() + '\t') || line.startsWith(ports.at(2).toUtf8() + '\t'),
                         line.constData());
            for (const QByteArray &line : run.err.trimmed().split('\n'))
                QVERIFY2(std::any_of(ports.cbegin(), ports.cend(),
                                     [&](const QString &port) { return line.startsWith(port.toUtf8() + '\t'); }),
                         line.constData());
            QVERIFY(run.err.contains(ports.at(1).toUtf8() + "\ttavikctl: "));
            return;
        }
        const QJsonObject report = json(run);
        QCOMPARE(report.value("exitCode").toInt(), 1);
        const QJsonArray entries = report.value("ports").toArray();
        QCOMPARE(entries.size(), 3);
        const qsizetype output = command.indexOf("-o");
        for (int d = 0; d < 3; ++d) {
            const QJsonObject entry = entries.at(d).toObject();
            QCOMPARE(entry.value("port").toString(), ports.at(d));
            QCOMPARE(entry.value("exitCode").toInt(), d == 1 ? 1 : 0);
            QCOMPARE(entry.value(done).toArray().size() == RelayCount, d != 1);
            // The device that hangs up midway says where, and nothing of what it had compared.
            const QJsonObject failure = entry.value("failure").toObject();
            QCOMPARE(failure.isEmpty(), d != 1);
            if (d == 1) {
                QVERIFY2(failure.value("relay").toInt() > 2 && failure.value("relay").toInt() < 16,
                         run.out.constData());
                QVERIFY(failure.value("result").toInt() > 0);
                QVERIFY(!failure.value("text").toString().isEmpty());
                QVERIFY(entry.value("differences").toArray().isEmpty());
            }
            if (output < 0 || d == 1)
                continue;
            // "/tmp/tavik-ports-X/port3" as "tmp_tavik-ports-X_port3"
            const QString file =
                QString(command.at(output + 1)).replace("{port}", ports.at(d).mid(1).replace('/', '_'));
            QCOMPARE(entry.value("file").toString(), file);
            QVERIFY(loaded(file) == variedTable());
        }
    }
};

QTEST_GUILESS_MAIN(TestTavikctl)
#include "tst_tavikctl.moc"
