// Commands the window leaves reachable while Read All or Program All talks to
// the device, started from inside the running dialogue's wait.
#include "base/errorlog.h"
#include "config/tavikfile.h"
#include "userstep.h"
#include "window/filechoice.h"
#include "windowrig.h"

#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

using namespace Qt::Literals::StringLiterals;
using Probe = MainWindowProbe;

// A record field by field, each field whole: a half-parsed value matches
// none of the versions it may hold.
static QStringList fields(const RelayConfig &r)
{
    QStringList whole;
    for (const int value : {int(r.RelayMode), int(r.InputMode), int(r.UnlatchInputMode)})
        whole << QString::number(value);
    for (const auto *map : {&r.InputMap, &r.UnlatchMap})
        whole << std::accumulate(map->begin(), map->end(), QString(),
                                 [](const QString &bits, bool on) { return bits + (on ? u'1' : u'0'); });
    return whole << u"%1 %2:%3:%4.%5"_s.arg(r.Counter).arg(r.Hours).arg(r.Minutes).arg(r.Seconds).arg(
                        r.Hundredths)
                 << QString::number(r.Closed) << QString::number(r.PCControl);
}

// Whether the device holds what programming the record gives it.
static bool programmedAs(const SimRelay &d, const RelayConfig &r)
{
    const QStringList read = fields(asRead(d, r)), wanted = fields(r);
    return read.mid(0, 5) == wanted.mid(0, 5) && (!isTimedMode(r.RelayMode) || read[5] == wanted[5]);
}

class TestOverlap : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        // Open loads a cleared table; Save and Save As write over it.
        const QString file = m_dir.filePath(u"config.csv"_s);
        setErrorLogPath(m_dir.filePath(u"ErrorLog.txt"_s));
        QCOMPARE(saveConfigFile(RelayTable{}, file), FileResult::Ok);
        setFileChooser([file](const FileChoice &) { return file; });
    }

    // The second command, as the user starts it; Program Relay is disabled meanwhile.
    void aCommandStartedInsideABulkCommandEndsCleanly_data()
    {
        QTest::addColumn<QString>("second");
        for (const char *step :
             {"force Program Relay", "click PC-Control", "click Latch Input", "click Momentary Input",
              "menu File/New", "menu File/Open...", "menu File/Save", "menu File/Save As...",
              "menu File/Exit", "relay 5", "mode Min-Time", "gate NXOR", "input 8", "slider hours 3",
              "hours 12", "click Unlatching Input", "click R"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }
    void aCommandStartedInsideABulkCommandEndsCleanly()
    {
        QFETCH(QString, second);
        // ctest runs the two halves side by side, each as an entry of its own.
        const bool reading = qEnvironmentVariable("TAVIK_OVERLAP_BULK") != u"program"_s;
        const bool exits = second == u"menu File/Exit"_s;
        WindowRig rig;
        QVERIFY(rig.start(4));
        RelayTable &table = rig.window.relayTable();
        SimRelay first = rig.device.relay(0); // under PC control, so that Latch and Momentary reach it
        first.pcControl = true;
        rig.device.setRelay(0, first);
        if (!reading) { // a table of its own, relay 1 under PC control, relay 3 Latching
            for (int i = 0; i < RelayCount; ++i)
                table[size_t(i)] = asRead(rig.device.relay(i == 2 ? 2 : (i + 5) % RelayCount));
            table[0].PCControl = true;
        }
        rig.probe.select(Probe::List::RelayNumber, u"Relay 2"_s); // and back, to show the table's relay
        rig.probe.select(Probe::List::RelayNumber,
                         u"Relay %1"_s.arg(second == u"click Unlatching Input"_s ? 3 : 1));
        const RelayTable before = table;
        QList<SimRelay> deviceBefore;
        for (int i = 0; i < RelayCount; ++i)
            deviceBefore << rig.device.relay(i);

        // The second command goes off at the next events after the device's third batch of
        // characters for relay fireAt. Read All (whose relay 3 must be read for the option
        // button) runs to its end; Program All loses its line soon after, to stay short.
        const int fireAt = reading ? 5 : 2;
        const QString verb = reading ? u"Reading relay "_s : u"Programming relay "_s;
        int batches = -1;
        bool started = false, enabledAfterSecond = true;
        RelayTable afterSecond{};
        connect(&rig.window.deviceLink().port(), &DevicePort::arrived, &rig.window, [&] {
            if (batches >= 0 && ++batches == 3)
                QTimer::singleShot(0, &rig.window, [&] {
                    started = performStep(rig.probe, second);
                    afterSecond = table;
                    enabledAfterSecond = rig.probe.isEnabled(u"Read All"_s) || rig.probe.isEnabled(u"Edit"_s);
                });
        });
        // How the device's answer falls into batches depends on the machine's load, so the
        // line goes at the first relay Program All starts after the second command.
        bool hungUp = false;
        rig.window.onAction = [&](const QString &text) {
            SimFaults hangUp;
            hangUp.hangUpAfterOutput = 0;
            if (text == verb + QString::number(fireAt))
                batches = 0;
            else if (!reading && started && !hungUp && text.startsWith(verb)) {
                rig.device.setFaults(hangUp);
                hungUp = true;
            }
        };
        QVERIFY(rig.probe.click(reading ? u"Read All"_s : u"Program All"_s));
        QVERIFY(!rig.window.deviceCommandRunning());

        QVERIFY2(started, "the second command could not be started");
        const int live =
            QStringList{"click PC-Control", "click Latch Input", "click Momentary Input"}.indexOf(second);
        if (live >= 0) // through the bulk command's port
            QVERIFY(rig.device.received().contains("clm"[live]));
        QVERIFY(!enabledAfterSecond); // the bulk command was still running when the second one ended
        QVERIFY(rig.probe.isEnabled(u"Read All"_s));
        QVERIFY(!rig.probe.portOpen());
        QCOMPARE(rig.window.actions.last(),
                 reading ? u"Finished reading all"_s : u"Finished programming all"_s);
        // Only leaving the program stops the bulk command where the second one ran.
        QCOMPARE(rig.window.isVisible(), !exits);
        QCOMPARE(rig.window.actions.contains(verb + QString::number(fireAt + 1)), !exits);
        QCOMPARE(rig.probe.actionVisible(), reading && !exits);

        // Each record: as it was, as the second command left it, as read from the device,
        // or field by field some of these; the device: as it was, or programmed from either.
        for (size_t i = 0; i < size_t(RelayCount); ++i) {
            const QStringList now = fields(table[i]), old = fields(before[i]),
                              edited = fields(afterSecond[i]),
                              read = fields(asRead(deviceBefore[int(i)], before[i])),
                              readOverEdit = fields(asRead(deviceBefore[int(i)], afterSecond[i]));
            for (int f = 0; f < now.size(); ++f)
                QVERIFY2(now[f] == old[f] || now[f] == edited[f] ||
                             (reading && (now[f] == read[f] || now[f] == readOverEdit[f])),
                         qPrintable(u"relay %1: %2"_s.arg(i + 1).arg(now[f])));
            const SimRelay d = rig.device.relay(int(i));
            const bool programmed = programmedAs(d, before[i]) || programmedAs(d, afterSecond[i]);
            const bool reached = int(i) + 1 < fireAt || (int(i) + 1 == fireAt && !exits);
            QVERIFY2(reading || (reached ? programmed : programmed || d == deviceBefore[int(i)]),
                     qPrintable(u"device relay %1"_s.arg(i + 1)));
        }
    }
};

QTEST_MAIN(TestOverlap)
#include "tst_overlap.moc"
