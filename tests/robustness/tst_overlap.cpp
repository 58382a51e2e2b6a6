// Commands the window leaves reachable while Read All or Program All talks to
// the device, started from inside the running dialogue's wait.
#include "variedrelays.h"
#include "window/moddlg.h"
#include "config/tavikfile.h"
#include "link/portnumber.h"
#include "base/errorlog.h"
#include "taviksimulator.h"
#include "window/frmmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{

class HookedWindow : public frmMain
{
public:
    void setActionText(const QString &text) override
    {
        actions << text;
        if (onAction)
            onAction(text);
        frmMain::setActionText(text);
    }

    QStringList actions;
    std::function<void(const QString &)> onAction;
};

SimRelay deviceRelay(int i)
{
    SimRelay relay = variedDeviceRelay(i);
    // Relay 1 under PC control, so that Latch and Momentary reach the device.
    relay.pcControl = i == 0;
    return relay;
}

// A table unlike the device's: every relay Toggle, OR, inputs 1 and 2, Closed.
RelayTable fileTable()
{
    RelayTable table{};
    for (RelayConfig &relay : table) {
        relay.RelayMode = 1;
        relay.InputMap[0] = relay.InputMap[1] = true;
    }
    return table;
}

QString bits(const std::array<bool, InputCount> &map)
{
    QString text;
    for (const bool on : map)
        text += on ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// A record field by field, each field whole: a half-parsed value matches
// none of the versions it may hold.
QStringList fields(const RelayConfig &r)
{
    return {QStringLiteral("mode %1").arg(r.RelayMode),
            QStringLiteral("gate %1").arg(r.InputMode),
            QStringLiteral("map ") + bits(r.InputMap),
            QStringLiteral("unlatch gate %1").arg(r.UnlatchInputMode),
            QStringLiteral("unlatch map ") + bits(r.UnlatchMap),
            QStringLiteral("time %1 %2:%3:%4.%5")
                .arg(r.Counter)
                .arg(r.Hours)
                .arg(r.Minutes)
                .arg(r.Seconds)
                .arg(r.Hundredths),
            QStringLiteral("closed %1").arg(r.Closed),
            QStringLiteral("pc %1").arg(r.PCControl)};
}

// What the read of deviceRelay(i) stores over a record.
RelayConfig readFromDevice(RelayConfig record, int i)
{
    const SimRelay d = deviceRelay(i);
    record.RelayMode = qint16(d.mode - 1);
    record.InputMode = qint16(d.gate < 8 ? d.gate : d.gate - 4);
    for (int input = 0; input < InputCount; ++input)
        record.InputMap[size_t(input)] = d.map & (1 << input);
    if (d.mode == 10) {
        record.UnlatchInputMode = qint16(d.unlatchGate - 4);
        for (int input = 0; input < InputCount; ++input)
            record.UnlatchMap[size_t(input)] = d.unlatchMap & (1 << input);
    }
    record.Counter = qint32(d.counter);
    record.Hundredths = qint16(d.counter % 100);
    record.Seconds = qint16(d.counter / 100 % 60);
    record.Minutes = qint16(d.counter / 6000 % 60);
    record.Hours = qint16(d.counter / 360000);
    record.Closed = d.closed;
    record.PCControl = d.pcControl;
    return record;
}

// Whether the device holds what programming the record gives it.
bool programmedAs(const SimRelay &d, const RelayConfig &r)
{
    int map = 0, unlatch = 0;
    for (int input = 0; input < InputCount; ++input) {
        map |= r.InputMap[size_t(input)] << input;
        unlatch |= r.UnlatchMap[size_t(input)] << input;
    }
    const int gate = r.InputMode < 4 ? r.InputMode : r.InputMode + 4;
    if (d.mode != r.RelayMode + 1 || d.gate != gate || d.map != map)
        return false;
    if (r.RelayMode == 9)
        return d.unlatchGate == r.UnlatchInputMode + 4 && d.unlatchMap == unlatch;
    if (r.RelayMode >= 2 && r.RelayMode <= 8)
        return d.counter == quint32(r.Counter);
    return true;
}

} // namespace

class TestOverlap : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TavikSimulator> device;
    std::unique_ptr<HookedWindow> w;
    QStringList m_summary;

    RelayTable &table() { return w->relayTable(); }

    // The second command, as the user starts it.
    std::function<void()> command(const QString &name)
    {
        HookedWindow *win = w.get();
        const QMap<QString, std::function<void()>> commands = {
            {QStringLiteral("Program Relay button"), [win] { win->btnPgmRelay_Click(); }},
            {QStringLiteral("PC-Control box"),
             [win] { win->chkPCControl->setChecked(!win->chkPCControl->isChecked()); }},
            {QStringLiteral("Latch Input button"), [win] { win->btnLatch_MouseDown(); }},
            {QStringLiteral("Momentary Input button"), [win] { win->btnMoment_MouseDown(); }},
            {QStringLiteral("File New"), [win] { win->mnuFileNew->trigger(); }},
            {QStringLiteral("File Open"), [win] { win->mnuFileOpen->trigger(); }},
            {QStringLiteral("File Save"), [win] { win->mnuFileSave->trigger(); }},
            {QStringLiteral("File Save As"), [win] { win->mnuFileSaveAs->trigger(); }},
            {QStringLiteral("File Exit"), [win] { win->mnuFileExit->trigger(); }},
            {QStringLiteral("relay list"), [win] { win->cboRelNum->setCurrentIndex(4); }},
            {QStringLiteral("mode list"), [win] { win->cboRelMode->setCurrentIndex(6); }},
            {QStringLiteral("gate list"), [win] { win->cboInputMode->setCurrentIndex(6); }},
            {QStringLiteral("input button"), [win] { win->imgInputBtn_Click(7); }},
            {QStringLiteral("hours slider"),
             [win] { win->sliHrs->setValue(win->sliHrs->value() == 3 ? 4 : 3); }},
            {QStringLiteral("hours text box"),
             [win] {
                 win->txtHrs->setText(QStringLiteral("12"));
                 win->txtHrs_Validate();
             }},
            {QStringLiteral("option button"), [win] { win->rbUnlatch->click(); }},
            {QStringLiteral("rescan button"), [win] { win->cmdRescan->click(); }},
        };
        return commands.value(name);
    }

private slots:
    void init()
    {
        setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt")));
        device = std::make_unique<TavikSimulator>();
        QString error;
        QVERIFY2(device->start(&error), qPrintable(error));
        for (int i = 0; i < RelayCount; ++i)
            device->setRelay(i, deviceRelay(i));
        w = std::make_unique<HookedWindow>();
        w->deviceLink().port().directory().addRuntimePort(device->portPath());
        w->setPreferredPort(device->portPath());
        w->Form_Load();
        QVERIFY2(w->deviceLink().port().directory().location(portNumberFromText(w->cmbPort->currentText())) ==
                     device->portPath(),
                 qPrintable(w->cmbPort->currentText()));
        w->deviceLink().clock().setTimeoutTicks(4);

        QCOMPARE(SaveTavikFile(fileTable(), m_dir.filePath(QStringLiteral("other.csv"))), qint16(0));
        const QString openPath = m_dir.filePath(QStringLiteral("other.csv"));
        const QString savePath = m_dir.filePath(QStringLiteral("saved.csv"));
        setFileDialogRunner([openPath, savePath](const FileDialogRequest &request) {
            FileDialogAnswer answer;
            answer.files << (request.kind == FileDialogRequest::Kind::Save ? savePath : openPath);
            answer.selectedFilter = request.selectedFilter;
            return answer;
        });
    }

    void cleanup()
    {
        setFileDialogRunner({});
        w.reset();
        device.reset();
    }

    void cleanupTestCase() { qInfo().noquote() << "\n" + m_summary.join(QLatin1Char('\n')); }

    void aCommandStartedInsideABulkCommandEndsCleanly_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("reading");
        const QStringList names = {QStringLiteral("Program Relay button"),
                                   QStringLiteral("PC-Control box"),
                                   QStringLiteral("Latch Input button"),
                                   QStringLiteral("Momentary Input button"),
                                   QStringLiteral("File New"),
                                   QStringLiteral("File Open"),
                                   QStringLiteral("File Save"),
                                   QStringLiteral("File Save As"),
                                   QStringLiteral("File Exit"),
                                   QStringLiteral("relay list"),
                                   QStringLiteral("mode list"),
                                   QStringLiteral("gate list"),
                                   QStringLiteral("input button"),
                                   QStringLiteral("hours slider"),
                                   QStringLiteral("hours text box"),
                                   QStringLiteral("option button"),
                                   QStringLiteral("rescan button")};
        // One program reads, the other programs, so that ctest runs them side by side.
        const bool reading = OVERLAP_READING;
        for (const QString &name : names)
            QTest::addRow("%s during %s", qPrintable(name), reading ? "Read All" : "Program All")
                << name << reading;
    }

    void aCommandStartedInsideABulkCommandEndsCleanly()
    {
        QFETCH(QString, second);
        QFETCH(bool, reading);
        const std::function<void()> start = command(second);
        QVERIFY(start);

        // Program All starts from a table of its own; relay 1 under PC control
        // and relay 3 Latching, so that every second command has work to do.
        if (!reading) {
            for (int i = 0; i < RelayCount; ++i)
                table()[size_t(i)] = readFromDevice(RelayConfig{}, (i + 5) % RelayCount);
            table()[0].PCControl = true;
            table()[2] = readFromDevice(RelayConfig{}, 2);
            w->ChangeRelayNum(0);
        }
        // Relay 1 is under PC control; the option button needs the Latching relay 3.
        w->cboRelNum->setCurrentIndex(second == QLatin1String("option button") ? 2 : 0);
        const RelayTable before = table();
        QList<SimRelay> deviceBefore;
        for (int i = 0; i < RelayCount; ++i)
            deviceBefore << device->relay(i);

        // Relay 5 under way: the second command goes off at the next events
        // after the device's third batch of characters for it.
        int batches = -1;
        bool fired = false;
        RelayTable afterSecond{};
        bool enabledAfterSecond = true;
        connect(&w->deviceLink().port(), &DevicePort::arrived, w.get(), [&] {
            if (batches < 0 || ++batches != 3)
                return;
            QTimer::singleShot(0, w.get(), [&] {
                start();
                fired = true;
                afterSecond = table();
                enabledAfterSecond = w->btnReadAll->isEnabled();
            });
        });
        const QString relay5 =
            reading ? QStringLiteral("Reading relay 5") : QStringLiteral("Programming relay 5");
        w->onAction = [&](const QString &text) {
            if (text == relay5)
                batches = 0;
        };
        w->show();
        if (reading)
            w->btnReadAll->click();
        else
            w->btnPgmAll->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w->deviceCommandRunning(), 20000);

        QVERIFY2(fired, "the second command never started");
        // A live command reached the device through the bulk command's port.
        const QMap<QString, char> liveCharacters = {{QStringLiteral("PC-Control box"), 'c'},
                                                    {QStringLiteral("Latch Input button"), 'l'},
                                                    {QStringLiteral("Momentary Input button"), 'm'}};
        if (liveCharacters.contains(second))
            QVERIFY(device->received().contains(liveCharacters.value(second)));
        // The bulk command was still running when the second one ended.
        QVERIFY(!enabledAfterSecond);
        QVERIFY(!w->deviceLink().port().isOpen());
        // The button's command ends with its caption whether or not all went through.
        const QString finished =
            reading ? QStringLiteral("Finished reading all") : QStringLiteral("Finished programming all");
        QCOMPARE(w->actions.last(), finished);
        const bool stopped = w->lblAction->isHidden();

        // Each record: as the device has it, as the second command left it,
        // as it was, or field by field some of these, never anything else.
        int asRead = 0, asEdited = 0, asBefore = 0, mixed = 0;
        for (int i = 0; i < RelayCount; ++i) {
            const QStringList now = fields(table()[size_t(i)]);
            const QStringList old = fields(before[size_t(i)]);
            const QStringList edited = fields(afterSecond[size_t(i)]);
            const QStringList read = fields(readFromDevice(before[size_t(i)], i));
            const QStringList readOverEdit = fields(readFromDevice(afterSecond[size_t(i)], i));
            for (int f = 0; f < now.size(); ++f) {
                const bool allowed = now[f] == old[f] || now[f] == edited[f] ||
                                     (reading && (now[f] == read[f] || now[f] == readOverEdit[f]));
                QVERIFY2(allowed, qPrintable(QStringLiteral("relay %1: %2").arg(i + 1).arg(now[f])));
            }
            if (reading && (now == read || now == readOverEdit))
                ++asRead;
            else if (now == edited && now != old)
                ++asEdited;
            else if (now == old)
                ++asBefore;
            else
                ++mixed;
            if (!reading) {
                const SimRelay d = device->relay(i);
                QVERIFY2(d == deviceBefore[i] || programmedAs(d, before[size_t(i)]) ||
                             programmedAs(d, afterSecond[size_t(i)]),
                         qPrintable(QStringLiteral("device relay %1").arg(i + 1)));
                // Each relay the command reached holds the table's values.
                if (!stopped)
                    QVERIFY2(programmedAs(d, before[size_t(i)]) || programmedAs(d, afterSecond[size_t(i)]),
                             qPrintable(QStringLiteral("device relay %1 not programmed").arg(i + 1)));
            }
        }
        // Only leaving the program stops the bulk command; everything else
        // lets it go through to relay 16.
        QCOMPARE(stopped, second == QLatin1String("File Exit"));
        QCOMPARE(w->isVisible(), second != QLatin1String("File Exit"));
        QVERIFY(w->btnReadAll->isEnabled());

        m_summary << QStringLiteral(
                         "| %1 | %2 | %3 | %4 read, %5 as the second command left them, %6 unchanged, %7 "
                         "mixed field by field |")
                         .arg(second, reading ? QStringLiteral("Read All") : QStringLiteral("Program All"),
                              stopped ? QStringLiteral("stopped at relay 5, window closed")
                                      : QStringLiteral("went through"))
                         .arg(asRead)
                         .arg(asEdited)
                         .arg(asBefore)
                         .arg(mixed);
    }
};

QTEST_MAIN(TestOverlap)
#include "tst_overlap.moc"
