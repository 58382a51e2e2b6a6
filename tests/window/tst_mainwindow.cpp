// The window as the user works in it, against the simulated Tavik on a pseudo-terminal.
#include "base/errorlog.h"
#include "config/tavikfile.h"
#include "ptydevice.h"
#include "record/pictures.h"
#include "userstep.h"
#include "window/comparisondialog.h"
#include "window/filechoice.h"
#include "window/oversizedlogbox.h"
#include "window/splashwindow.h"
#include "windowrig.h"

#include <QPrintDialog>
#include <QtTest>

#include <numeric>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using List = MainWindowProbe::List;
using Unit = MainWindowProbe::Unit;

static QImage resource(const char *type, int id)
{
    return PictureFromBytes(LoadResData(id, QLatin1String(type))).toImage();
}

static RelayTable fileTable(const QString &path)
{
    RelayTable table{};
    QString status;
    return openConfigFile(table, path, status) == FileResult::Ok ? table : RelayTable{};
}

class TestMainWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<WindowRig> rig;
    MainWindowProbe *probe = nullptr;
    QStringList answers; // the file dialog's next choices; an empty one cancels
    QList<FileChoice> requests;

    RelayTable &table() { return rig->window.relayTable(); }
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    void expectCommandEnded()
    {
        for (const char *control : {"Read Relay", "Program Relay", "Read All", "Program All", "Edit"})
            QVERIFY2(probe->isEnabled(QLatin1String(control)), control);
        QVERIFY(!probe->portOpen());
    }

    // What the user sees of the relay shown.
    QMap<QString, QString> shows() const
    {
        QStringList on;
        for (int i = 0; i < InputCount; ++i)
            if (probe->picture(MainWindowProbe::Picture::Input, i) == resource("INON", 101 + i))
                on << QString::number(i + 1);
        return {{u"relay"_s, probe->selected(List::RelayNumber)},
                {u"mode"_s, probe->selected(List::RelayMode)},
                {u"gate"_s, probe->selected(List::InputMode)},
                {u"inputs"_s, on.join(u',')},
                {u"set"_s, probe->isChecked(u"Unlatching Input"_s) ? u"unlatch"_s : u"latch"_s},
                {u"time"_s, probe->isEnabled(u"Closure Time:"_s) ? u"on"_s : u"off"_s},
                {u"options"_s, probe->isEnabled(u"Latching Input"_s) ? u"on"_s : u"off"_s},
                {u"texts"_s, probe->timeText(Unit::Hours) + u' ' + probe->timeText(Unit::Minutes) + u' ' +
                                 probe->timeText(Unit::Seconds)}};
    }

private slots:
    void initTestCase()
    {
        setErrorLogPath(path("ErrorLog.txt"));
        SplashWindow splash; // names the program and its version in the captions, as at start-up
    }
    void init()
    {
        answers.clear();
        requests.clear();
        setFileChooser([this](const FileChoice &request) {
            requests << request;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        rig = std::make_unique<WindowRig>();
        probe = &rig->probe;
        QVERIFY(rig->start());
    }
    void cleanup()
    {
        rig.reset();
        QLocale::setDefault(QLocale::system());
    }

    // "steps | what the user then sees", and on with more steps and what they show; steps as
    // performStep takes them, LATCHING and TWO standing for the steps below.
    void theEditorShowsAndStoresWhatTheUserDoes_data()
    {
        QTest::addColumn<QStringList>("cells");
        for (const char *row :
             {"| relay=Relay 1; mode=Momentary; gate=OR; inputs=; texts=0 0 0.00; time=off; options=off | "
              "mode Toggle | time=off; options=off | mode Leading-Edge | time=on; options=off | "
              "mode Pulse-Stretch; menu Edit/Change Relay/Mode/Latching | time=off; options=on; set=latch",
              "LATCHING; input 6; picture gate; click Latching Input | inputs=3; gate=OR",
              "LATCHING; input 6; mode Momentary | inputs=3; options=off",
              "LATCHING; menu Edit/Change Relay/Input Mode/NXOR | gate=NXOR; inputs=",
              "LATCHING; gate NXOR; relay 2; mode Latching | relay=Relay 2; set=latch | "
              "relay 1 | relay=Relay 1; set=unlatch; gate=NXOR",
              "input 7; input 7 | inputs=",
              "relay 16; picture relay; gate NIL; picture gate | relay=Relay 1; gate=OR",
              "double picture relay; double picture gate; double input 4 | relay=Relay 2; gate=AND; inputs=4",
              "menu Edit/Change Relay/Number/Relay 5 | relay=Relay 5",
              "mode Debounce; hours 99; minutes -7 leave | texts=45 7 0.00 | seconds 3.05; seconds 12 "
              "escape | texts=45 7 3.05 | slider seconds 1234 | texts=45 7 12.34 | closure 1. 2 5.07; "
              "closure 3 4 12 | texts=3 4 12.00 | hours 1; minutes 2; seconds 5.7; relay 2; relay 1 | "
              "texts=1 2 5.70",
              "TWO; menu Edit/Clear/Relay/Relay 16 | mode=Pulse-Stretch; inputs=10 | relay 16 | "
              "mode=Momentary",
              "TWO; menu Edit/Clear/Relay/Relay 6 | mode=Momentary; gate=OR; inputs=",
              "TWO; menu Edit/Change Relay/Input Map/Input 3 | mode=Pulse-Stretch; gate=NAND; inputs=3,10",
              "LATCHING; menu Edit/Change Relay/Input Map/Input 7 | set=unlatch; inputs=7",
              "TWO; menu Edit/Copy/Relay Configuration; relay 1; menu Edit/Paste | "
              "mode=Pulse-Stretch; gate=NAND; inputs=10",
              "LATCHING; relay 2; input 9; menu Edit/Copy/Input Map; relay 1; click Unlatching Input; "
              "menu Edit/Paste | set=unlatch; inputs=9 | click Latching Input | inputs=3",
              "LATCHING; gate AND; menu Edit/Copy/Relay Configuration; relay 2; menu Edit/Paste | "
              "relay=Relay 2; mode=Latching; set=latch; inputs=3; gate=OR | click Unlatching Input | "
              "gate=AND; inputs=",
              "locale de_DE; mode Debounce; seconds 0,50 | texts=0 0 0,50 | closure 0 1 7,25 | "
              "texts=0 1 7,25"}) {
            QString cells = QString::fromLatin1(row);
            cells.replace(u"LATCHING"_s, u"mode Latching; input 3; click Unlatching Input"_s);
            cells.replace(u"TWO"_s, u"relay 6; mode Pulse-Stretch; gate NAND; input 10; relay 16; mode "
                                    "Trailing-Edge; relay 6"_s);
            QTest::newRow(row) << cells.split(u'|');
        }
    }
    void theEditorShowsAndStoresWhatTheUserDoes()
    {
        QFETCH(QStringList, cells);
        for (qsizetype step = 0; step + 1 < cells.size(); step += 2) {
            QVERIFY(performSteps(*probe, cells[step]));
            const QMap<QString, QString> now = shows();
            for (const QString &item : cells[step + 1].trimmed().split(u"; "_s))
                QCOMPARE(item.section(u'=', 0, 0) + u'=' + now.value(item.section(u'=', 0, 0)), item);

            // Pictures, check marks, lists, sliders and texts all say what the record holds.
            const int relay = rig->window.editor().shownRelay(), gate = rig->window.editor().shownInputMode();
            const RelayConfig &r = table()[size_t(relay)];
            const bool unlatch = r.RelayMode == LatchingMode && r.ShowUnlatch;
            QCOMPARE(probe->picture(MainWindowProbe::Picture::Relay), resource("RELAY", 101 + relay));
            QCOMPARE(probe->picture(MainWindowProbe::Picture::Gate), resource("INMODE", 101 + gate));
            for (const auto &[menu, list] : {std::pair{"Number", List::RelayNumber},
                                             {"Mode", List::RelayMode},
                                             {"Input Mode", List::InputMode}})
                QCOMPARE(probe->menuItems({"Edit", "Change Relay", menu}, true),
                         QStringList{probe->selected(list)});
            QCOMPARE(r.RelayMode, rig->window.editor().shownRelayMode());
            QCOMPARE(unlatch ? r.UnlatchInputMode : r.InputMode, gate);
            const QStringList on = now.value(u"inputs"_s).split(u',', Qt::SkipEmptyParts);
            for (int i = 0; i < InputCount; ++i)
                QCOMPARE(on.contains(QString::number(i + 1)),
                         (unlatch ? r.UnlatchMap : r.InputMap)[size_t(i)]);
            QCOMPARE(probe->menuItems({"Edit", "Change Relay", "Input Map"}, true).join(u','),
                     on.isEmpty() ? QString() : u"Input "_s + on.join(u",Input "_s));
            QCOMPARE(probe->canChoose({"Edit", "Change Relay", "Closure Time..."}),
                     now.value(u"time"_s) == u"on"_s);
            QCOMPARE((QList<int>{probe->sliderValue(Unit::Hours), probe->sliderValue(Unit::Minutes),
                                 probe->sliderValue(Unit::Seconds)}),
                     (QList<int>{r.Hours, r.Minutes, r.Seconds * 100 + r.Hundredths}));
        }
    }

    // Values outside the lists show consistently and the status names each; a log past its
    // limit opens in the desktop's editor under the box, and goes once the box is closed.
    void aFileOutsideTheListsAndAnOversizedLog()
    {
        RelayTable odd{};
        odd[1] = {.RelayMode = 1, .InputMode = 8};
        odd[2] = {.RelayMode = LatchingMode, .InputMode = 2, .UnlatchInputMode = 9};
        odd[3] = {.RelayMode = 2, .Counter = LargestFileCounter};
        CounterToTime(odd[3]);
        QCOMPARE(saveConfigFile(odd, path("odd.csv")), FileResult::Ok);
        answers << path("odd.csv");
        for (const QString &steps :
             {u"menu File/Open...; relay 2"_s, u"relay 3; click Unlatching Input"_s, u"relay 4"_s}) {
            QVERIFY(performSteps(*probe, steps));
            const QString gate = probe->selected(List::InputMode);
            QCOMPARE(probe->picture(MainWindowProbe::Picture::Gate),
                     resource("INMODE", 101 + int(inputModeList().indexOf(gate))));
            QCOMPARE(probe->menuItems({"Edit", "Change Relay", "Input Mode"}, true), QStringList{gate});
            QCOMPARE(probe->timeText(Unit::Hours).toInt(), probe->sliderValue(Unit::Hours));
        }
        QVERIFY2(probe->statusText().endsWith(u"Relay 2: input mode out of range (8)\nRelay 3: unlatch input "
                                              "mode out of range (9)\nRelay 4: hours out of range (46)\n"_s),
                 qPrintable(probe->statusText()));
        QFile log(path("ErrorLog.txt"));
        QVERIFY(log.open(QIODevice::ReadWrite));
        const QByteArray logged = log.readAll();
        for (const char *value : {"input mode 8)", "input mode 9)", "counter "})
            QVERIFY2(logged.contains(QByteArray(" (Value out of range: ") + value), logged.constData());

        QVERIFY(log.resize(0) && log.write(QByteArray(ErrorLogLimit, 'x')) == ErrorLogLimit);
        log.close();
        QList<QUrl> opened;
        OversizedLogBox::setOpener([&](const QUrl &url) { return opened << url, true; });
        QString seen;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            seen = box->windowTitle() + u'|' + box->text() + u'|' +
                   QString::number(box->icon() + 10 * log.exists());
            box->button(QMessageBox::Ok)->click();
        });
        QVERIFY(performSteps(*probe, u"relay 2"_s)); // logged again
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(log.fileName())});
        QCOMPARE(seen, u"Tavik Configuration Manager|"_s + oversizedLogText() + u"|11"_s);
        QVERIFY(!log.exists());
    }

    // Adapters come and go while the window is idle; the chosen port stays chosen wherever its number moves.
    void thePortListFollowsTheCable()
    {
        PtyDevice usb, acm;
        const SystemPort ftdi{usb.portPath(), u"ttyUSB0"_s, {u"FT232R"_s, u"FTDI"_s, u"A1B2C3"_s, u"0403"_s, u"6001"_s, {}}};
        QList<SystemPort> listed;
        DevicePort &port = rig->window.deviceLink().port();
        port.directory().setSystemPortSource([&] { return listed; });
        QVERIFY(probe->click(u"R"_s));
        const QString simulated = u" ("_s + QFileInfo(rig->portPath).fileName() + u')';
        QCOMPARE(probe->selected(List::Port), u"Com1"_s + simulated);

        listed = {ftdi};
        QTRY_COMPARE(probe->statusText(), u"USB serial adapter FT232R (A1B2C3) plugged in as Com1"_s);
        QCOMPARE(probe->selected(List::Port), u"Com2"_s + simulated);
        QCOMPARE(probe->toolTip(List::Port, u"Com1 (ttyUSB0)"_s),
                 u"Com1 (ttyUSB0)\nPath: "_s + usb.portPath() +
                     u"\nDescription: FT232R\nManufacturer: FTDI\nSerial number: A1B2C3\nUSB ID: 0403:6001"_s);
        QVERIFY(probe->select(List::Port, u"Com1 (ttyUSB0)"_s));

        listed = {{acm.portPath(), u"ttyACM0"_s, {}}, ftdi};
        QTRY_COMPARE(probe->statusText(), u"Serial port ttyACM0 plugged in as Com1"_s);
        QCOMPARE(probe->selected(List::Port), u"Com2 (ttyUSB0)"_s);
        QCOMPARE(port.portLocation(), usb.portPath());

        // A port held open is never touched: the list waits until it is let go.
        QCOMPARE(port.open(), DevicePort::OpenResult::Opened);
        listed.removeLast();
        QTest::qWait(1500);
        QCOMPARE(probe->selected(List::Port), u"Com2 (ttyUSB0)"_s);
        QVERIFY(port.close());
        QTRY_COMPARE(probe->statusText(), u"USB serial adapter FT232R (A1B2C3) on Com2 pulled out"_s);
        QCOMPARE(port.portLocation(), rig->portPath);
    }

    void theFileMenuKeepsTheFileInUse()
    {
        // Save straight after start asks for a name (cancelled, then given).
        answers << QString() << path("Tavik Config.csv") << path("notes.csv") << path("site A.csv")
                << path("fifo.csv");
        QVERIFY(probe->choose({"File", "Save"}));
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0 [New.csv]"_s);
        table()[1].RelayMode = LatchingMode;
        QVERIFY(probe->choose({"File", "Save"}));
        QCOMPARE(requests.last().proposedName, u"Tavik Config"_s);
        QCOMPARE(requests.last().purpose, FileChoice::Purpose::Save);
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0 [Tavik Config.csv]"_s);
        QCOMPARE(fileTable(path("Tavik Config.csv"))[1].RelayMode, LatchingMode);

        // A file that is not a configuration changes nothing.
        QFile notes(path("notes.csv"));
        QVERIFY(notes.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                notes.write("shopping list\r\n") > 0);
        const RelayTable edited = table();
        QVERIFY(probe->choose({"File", "Open..."}));
        QCOMPARE(probe->statusText(), u"Incorrect file format"_s);
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0 [Tavik Config.csv]"_s);
        QVERIFY(table() == edited);

        // New keeps the file name: Save then writes the cleared table there without asking.
        QVERIFY(probe->choose({"File", "New"}));
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0 [New.csv]"_s);
        QCOMPARE(probe->statusText(), QString());
        QVERIFY(probe->choose({"File", "Save"}));
        QCOMPARE(requests.size(), 3);
        QCOMPARE(fileTable(path("Tavik Config.csv"))[1].RelayMode, 0);

        // Open names the file without a blank and redraws the relay shown.
        QCOMPARE(saveConfigFile(edited, path("site A.csv")), FileResult::Ok);
        QVERIFY(probe->select(List::RelayNumber, u"Relay 2"_s));
        QVERIFY(probe->choose({"File", "Open..."}));
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0[site A.csv]"_s);
        QCOMPARE(probe->selected(List::RelayMode), u"Latching"_s);
        QVERIFY(probe->statusText().startsWith(u"Date created: "_s));

        // Save As onto a FIFO says so and leaves it.
        QVERIFY(mkfifo(QFile::encodeName(path("fifo.csv")).constData(), 0600) == 0 &&
                probe->choose({"File", "Save As..."}));
        QCOMPARE(probe->statusText(), path("fifo.csv") + u" is not a regular file; it was left as it is."_s);
    }

    // The desktop's own dialog over the window: the two filters, the proposed
    // name given ".csv", a question before replacing a file, and to open only
    // an existing file.
    void theFileDialogIsTheDesktops()
    {
        setFileChooser({});
        QStringList seen;
        // Chooses the menu item, takes `name` in the dialog it opens, and answers a question with Yes.
        const auto choose = [&](const QStringList &item, const QString &name) {
            QTimer::singleShot(0, this, [&, name] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                QStringList shown{QFileInfo(dialog->selectedFiles().value(0)).fileName()};
                const auto *types = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
                for (int i = 0; types && i < types->count(); ++i)
                    shown << types->itemText(i);
                seen << shown.join(u'|') + u'|' + QString::number(dialog->fileMode()) +
                            (dialog->parentWidget() == &rig->window ? u" over the window"_s : QString());
                QTimer::singleShot(0, this, [&] {
                    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                        seen << box->text().section(u'\n', 0, 0);
                        box->button(QMessageBox::Yes)->click();
                    }
                });
                dialog->selectFile(name);
                QMetaObject::invokeMethod(dialog, "accept"); // as the Save or Open button does
            });
            return probe->choose(item);
        };
        const QString saving =
            u"Tavik Config.csv|Tavik Config files (*.csv)|All files (*.*)|0 over the window"_s;
        QVERIFY(choose({"File", "Save As..."}, path("plan")));
        QCOMPARE(seen, QStringList{saving});
        QCOMPARE(rig->window.windowTitle(), u"Tavik Configuration Manager v1.0.0 [plan.csv]"_s);

        table()[1].RelayMode = LatchingMode;
        QVERIFY(choose({"File", "Save As..."}, path("plan")));
        QCOMPARE(seen, QStringList({saving, saving, u"plan.csv already exists."_s}));

        seen.clear();
        table()[1].RelayMode = 0;
        QVERIFY(choose({"File", "Open..."}, path("plan.csv")));
        QCOMPARE(seen, QStringList{u"|Tavik Config files (*.csv)|All files (*.*)|1 over the window"_s});
        QCOMPARE(table()[1].RelayMode, LatchingMode); // the replaced file
    }

    void readEditAndProgramThroughTheWindow()
    {
        QCOMPARE(probe->actionText(), u"Waiting for command..."_s); // before the first command
        QVERIFY(probe->actionVisible());
        rig->device.setRelay(2, SimRelay{});
        QVERIFY(performSteps(*probe, u"click Read All"_s));
        QCOMPARE(rig->window.actions.last(), u"Finished reading all"_s);
        QList<int> bar(31); // 2n + 1 while relay n + 1 is read, one more after it, round to 0
        std::iota(bar.begin(), bar.end(), 1);
        QCOMPARE(rig->window.bar, bar << 0);
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(table()[size_t(i)], asRead(rig->device.relay(i)));
        expectCommandEnded();

        // Relay 3 made Latching: inputs 2 and 8 under AND latch it, input 11 under NAND unlatches it.
        QVERIFY(performSteps(*probe, u"relay 3; mode Latching; input 2; input 8; picture gate; "
                                     "click Unlatching Input; input 11; gate NAND"_s));
        rig->window.bar.clear();
        QVERIFY(performSteps(*probe, u"click Program Relay"_s));
        QCOMPARE(rig->window.bar, (QList<int>{4, 5, 6, 7, 8, 9, 10, 0})); // 31/12 + the step, rounded
        RelayConfig expected = table()[2];
        expected.ShowUnlatch = false; // clearing shows the latch set, and a read keeps to it
        QVERIFY(performSteps(*probe, u"menu Edit/Clear/Relay/Relay 3; menu Edit/Read/Relay/Relay 3"_s));
        QCOMPARE(table()[2], expected);
        QCOMPARE(rig->device.relay(2).unlatchGate, 9);
        QCOMPARE(probe->selected(List::InputMode), u"AND"_s);
        expectCommandEnded();
    }

    // The line hangs up in the middle of relay 3: the relays read before it are kept, no dialog.
    void aLostLineEndsTheCommand_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("kept");
        QTest::newRow("Read All") << u"click Read All"_s << 2;
        QTest::newRow("Compare") << u"menu Edit/Compare with Device"_s << 0;
    }
    void aLostLineEndsTheCommand()
    {
        QFETCH(QString, steps);
        QFETCH(int, kept);
        rig->window.onAction = [this](const QString &text) {
            if (text == u"Reading relay 3"_s)
                rig->device.setFaults(SimFaults{.hangUpAfterOutput = 30});
        };
        QVERIFY(performSteps(*probe, steps));
        QCOMPARE(probe->statusText(),
                 u"The connection to Tavik was lost. Please check the cable and the COM port."_s);
        QVERIFY(!probe->actionVisible());
        QCOMPARE(probe->progress(), 0);
        QVERIFY(comparison().isEmpty());
        RelayTable expected{};
        for (int i = 0; i < kept; ++i)
            expected[size_t(i)] = asRead(rig->device.relay(i));
        QCOMPARE(table(), expected);
        expectCommandEnded();
    }

    // The shown comparison dialog's lines (its rows follow the comparison's own tested rules).
    QStringList comparison() const
    {
        QStringList lines;
        for (const ComparisonDialog *dialog : rig->window.findChildren<ComparisonDialog *>())
            if (dialog->isVisible())
                for (const QLabel *line : dialog->findChildren<QLabel *>())
                    lines << line->text();
        return lines;
    }

    void compareWithDeviceLeavesTableAndEditorAlone()
    {
        QVERIFY(performSteps(*probe, u"click Read All; relay 3"_s));
        SimRelay changed = variedDeviceRelay(4);
        changed.map = 0x801; // inputs 1 and 12
        changed.pcControl = true;
        rig->device.setRelay(4, changed);
        const RelayTable before = table();
        const auto editor = shows();
        rig->window.actions.clear();
        QVERIFY(performSteps(*probe, u"menu Edit/Compare with Device"_s));
        QVERIFY(rig->window.actions.contains(u"Reading relay 16"_s));
        QCOMPARE(comparison(),
                 (QStringList{u"Tavik differs from the window in relay 5."_s,
                              u"1 field that is not programmed (PC control, contact) differs."_s}));
        QVERIFY(probe->click(u"Program the 1 differing relay"_s));
        QCOMPARE(table(), before);
        QCOMPARE(shows(), editor);
        expectCommandEnded();

        // Asked first: No programs nothing and leaves the dialog open, Yes programs relay 5 alone.
        auto *question = rig->window.findChild<QMessageBox *>(u"msgConfirmProgram"_s);
        QVERIFY(question && question->isVisible());
        QCOMPARE(question->text(), u"Program relay 5 with the window's settings?"_s);
        question->button(QMessageBox::No)->click();
        QTRY_VERIFY(!rig->window.findChild<QMessageBox *>(u"msgConfirmProgram"_s));
        QCOMPARE(rig->device.relay(4).map, 0x801);
        QVERIFY(probe->click(u"Program the 1 differing relay"_s));
        rig->window.actions.clear();
        QVERIFY(probe->click(u"Yes"_s));
        QCOMPARE(rig->window.actions, QStringList{u"Relay programmed"_s}); // one relay, no other
        QCOMPARE(asRead(rig->device.relay(4)).InputMap, before[4].InputMap);
        expectCommandEnded();

        rig->device.setRelay(4, variedDeviceRelay(4));
        QVERIFY(performSteps(*probe, u"menu Edit/Compare with Device"_s));
        QCOMPARE(comparison(), QStringList{u"Tavik holds what the window shows."_s});
    }

    // Export PDF... writes where the user chose (the record's text has tests of its own), a
    // picture cut short is refused, Print offers the print dialog, and About names the version,
    // the licence and Qt.
    void theRecordIsExportedAndAboutNamesTheProgram()
    {
        const QByteArray gif = LoadResData(101, u"INMODE"_s);
        QVERIFY(!PictureFromBytes(gif).isNull() && PictureFromBytes(gif.chopped(1)).isNull());
        QVERIFY(PictureFromBytes(LoadResData(101, u"BITMAP"_s).left(54)).isNull());
        answers << path("record.pdf") << path("none/record.pdf");
        QVERIFY(probe->choose({"File", "Export PDF..."}));
        QCOMPARE(requests.last().purpose, FileChoice::Purpose::ExportPdf);
        QCOMPARE(requests.last().proposedName, u"New"_s);
        QCOMPARE(probe->statusText(), u"The record is written to record.pdf."_s);
        QVERIFY(QFileInfo(path("record.pdf")).size() > 0);
        QVERIFY(probe->choose({"File", "Export PDF..."}));
        QCOMPARE(probe->statusText(), u"record.pdf could not be written: No such file or directory."_s);

        QVERIFY(probe->choose({"File", "Print..."}));
        auto *print = rig->window.findChild<QPrintDialog *>();
        QVERIFY(print && print->isVisible());
        print->reject();

        QVERIFY(probe->choose({"Help", "About..."}));
        const auto *about = rig->window.findChild<QMessageBox *>(u"dlgAbout"_s);
        QVERIFY(about && about->isVisible());
        for (const QString &part : {u"Version 1.0.0"_s, u"keep every right to this program"_s, u"running on Qt 6."_s})
            QVERIFY2(about->text().contains(part), qPrintable(about->text()));
    }

    // Paste takes only relay settings; Ctrl+C and Ctrl+V copy and paste a whole relay
    // outside the text boxes.
    void pasteTakesOnlyRelaySettings()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        const auto key = [this](QWidget *focus, Qt::Key key) {
            focus->setFocus();
            QTest::keyClick(focus, key, Qt::ControlModifier);
        };
        QVERIFY(performSteps(*probe, u"relay 3; mode Latching; input 2; click Unlatching Input; input 11"_s));
        const RelayTable before = table();
        clipboard->setText(u"shopping list"_s);
        QVERIFY(!probe->canChoose({"Edit", "Paste"}));
        key(&rig->window, Qt::Key_V);
        QCOMPARE(probe->statusText(), u"The clipboard holds no relay settings to paste."_s);
        QVERIFY(table() == before);
        key(rig->window.findChild<QLineEdit *>(u"txtHrs"_s), Qt::Key_C); // the box's own copy
        QCOMPARE(clipboard->text(), u"shopping list"_s);
        key(rig->window.findChild<QComboBox *>(u"cboRelNum"_s), Qt::Key_C);
        QVERIFY(probe->canChoose({"Edit", "Paste"}));
        QVERIFY(performSteps(*probe, u"relay 9"_s));
        key(&rig->window, Qt::Key_V);
        RelayConfig pasted = table()[8];
        pasted.ShowUnlatch = true;
        QCOMPARE(pasted, before[2]);
    }

    // Each action is one step (time edits to one relay in a row make one, to two relays two;
    // the side shown makes none); undo never talks to the device. A command that holds the
    // controls takes the Edit menu, and Undo, Redo and Paste (whose keys reach past the menu)
    // with it, until it ends.
    void undoAndRedoWalkTheTableAndWaitOutACommand()
    {
        QCOMPARE(saveConfigFile(variedTable(), path("undo.csv")), FileResult::Ok);
        answers << path("undo.csv");
        QList<RelayTable> states{table()};
        for (const char *action :
             {"relay 3; click Read All", "input 5; click Unlatching Input; click Latching Input",
              "relay 5; slider seconds 100; slider seconds 250", "relay 6; slider seconds 300",
              "menu Edit/Copy/Relay Configuration; relay 7; menu Edit/Paste", "menu Edit/Clear/All",
              "menu File/Open..."}) {
            QVERIFY(performSteps(*probe, QLatin1String(action)));
            states << table();
        }
        rig->device.clearReceived();
        const QStringList shownAfterUndo = {"Relay 7", "Relay 7", "Relay 7", "Relay 6",
                                            "Relay 5", "Relay 3", "Relay 3"};
        for (qsizetype i = states.size() - 2; i >= 0; --i) {
            QVERIFY(probe->choose({"Edit", "Undo"}));
            QVERIFY(table() == states[i]);
            QCOMPARE(probe->selected(List::RelayNumber), shownAfterUndo.at(states.size() - 2 - i));
        }
        QCOMPARE(probe->timeText(Unit::Seconds), u"0.00"_s);
        QVERIFY(!probe->canChoose({"Edit", "Undo"}));
        for (qsizetype i = 1; i < states.size(); ++i) {
            QVERIFY(probe->choose({"Edit", "Redo"}));
            QVERIFY(table() == states[i]);
        }
        QVERIFY(!probe->canChoose({"Edit", "Redo"}));
        QVERIFY(performSteps(*probe, u"relay 3; click Unlatching Input; menu Edit/Undo"_s));
        QVERIFY(table()[2].ShowUnlatch); // the side a relay shows is the editor's, not a step's
        QCOMPARE(rig->device.received(), QByteArray());

        const auto reachable = [this] {
            QStringList items;
            for (const char *name : {"mnuEditUndo", "mnuEditRedo", "mnuEditPaste"})
                if (rig->window.findChild<QAction *>(QLatin1String(name))->isEnabled())
                    items << QLatin1String(name);
            return probe->isEnabled(u"Edit"_s) ? items << u"Edit"_s : items;
        };
        QCOMPARE(reachable().size(), 4);
        QStringList duringRead;
        rig->window.onAction = [&](const QString &) { duringRead += reachable(); };
        QVERIFY(performSteps(*probe, u"click Read All"_s));
        QCOMPARE(duringRead, QStringList());
        QCOMPARE(reachable(), (QStringList{u"mnuEditUndo"_s, u"mnuEditPaste"_s, u"Edit"_s}));
    }

    void pcControlLatchAndMomentaryReachTheShownRelay()
    {
        QVERIFY(performSteps(*probe, u"relay 3"_s));
        QVERIFY(!performSteps(*probe, u"click Latch Input"_s)); // not under PC control
        // A press on the disabled button runs nothing, whatever the record says.
        table()[2].PCControl = true;
        QVERIFY(performSteps(*probe, u"press Latch Input"_s));
        table()[2].PCControl = false;
        QVERIFY(performSteps(*probe, u"click PC-Control"_s));
        QVERIFY(table()[2].PCControl && rig->device.relay(2).pcControl);
        // Each press runs the command, the second of a double-click too.
        QVERIFY(performSteps(*probe, u"click Latch Input; double press Momentary Input; click PC-Control"_s));
        QTRY_COMPARE(rig->device.received(), QByteArray("\033c3\r\033l3\r\033m3\r\033m3\r\033c3\r"));
        QVERIFY(!rig->device.relay(2).pcControl);
        QVERIFY(!probe->isEnabled(u"Momentary Input"_s));
        QVERIFY(!probe->portOpen());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
