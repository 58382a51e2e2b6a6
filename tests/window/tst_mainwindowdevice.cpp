// The window driving the simulated Tavik through the real serial code.
#include "base/errorlog.h"
#include "userstep.h"
#include "windowrig.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestMainWindowDevice : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<WindowRig> rig;

    RelayTable &table() { return rig->window.relayTable(); }
    bool perform(std::initializer_list<const char *> steps)
    {
        for (const char *step : steps)
            if (!performStep(rig->probe, QLatin1String(step)))
                return false;
        return true;
    }
    void expectCommandEnded()
    {
        for (const char *control : {"Read Relay", "Program Relay", "Read All", "Program All", "Edit"})
            QVERIFY2(rig->probe.isEnabled(QLatin1String(control)), control);
        QVERIFY(!rig->probe.portOpen());
    }

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(u"ErrorLog.txt"_s)); }
    void init()
    {
        rig = std::make_unique<WindowRig>();
        QVERIFY(rig->start());
    }
    void cleanup() { rig.reset(); }

    void readEditProgramReadBackAndLoseTheLine()
    {
        const QStringList &actions = rig->window.actions;
        rig->device.setRelay(2, SimRelay{});
        QVERIFY(perform({"click Read All"}));
        QCOMPARE(actions.mid(0, 3), QStringList({"Reading Tavik...", "Reading relay 1", "Relay read"}));
        QCOMPARE(actions.mid(actions.size() - 3),
                 QStringList({"Reading relay 16", "Relay read", "Finished reading all"}));
        QCOMPARE(rig->probe.progress(), 0);
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(table()[size_t(i)], asRead(rig->device.relay(i)));
        expectCommandEnded();

        // Relay 3 made Latching: inputs 2 and 8 under AND latch it, input 11 under NAND unlatches it.
        QVERIFY(perform({"relay 3", "mode Latching", "input 2", "input 8", "picture gate",
                         "click Unlatching Input", "input 11", "gate NAND", "click Program Relay"}));
        QCOMPARE(rig->probe.actionText(), u"Relay programmed"_s);
        RelayConfig expected = table()[2];
        QCOMPARE(expected.UnlatchMap[10], true);
        expected.ShowUnlatch = false; // clearing shows the latch set, and a read keeps to it
        QVERIFY(perform({"menu Edit/Clear/Relay/Relay 3", "menu Edit/Read/Relay/Relay 3"}));
        QCOMPARE(table()[2], expected);
        QCOMPARE(rig->device.relay(2).unlatchGate, 9);
        QCOMPARE(rig->probe.selected(MainWindowProbe::List::InputMode), u"AND"_s);
        expectCommandEnded();

        // A line that hangs up in the middle of relay 3 ends Read All there.
        SimFaults hangUp;
        hangUp.hangUpAfterOutput = 30;
        rig->window.onAction = [&](const QString &text) {
            if (text == QLatin1String("Reading relay 3"))
                rig->device.setFaults(hangUp);
        };
        QVERIFY(perform({"menu Edit/Clear/All", "click Read All"}));
        QCOMPARE(rig->probe.statusText(), DeviceDialogues::ConnectionLostText);
        QVERIFY(!rig->probe.actionVisible());
        QCOMPARE(rig->probe.progress(), 0);
        QCOMPARE(table()[1], asRead(rig->device.relay(1)));
        QCOMPARE(table()[3], RelayConfig{});
        expectCommandEnded();
    }

    void pcControlLatchAndMomentaryReachTheShownRelay()
    {
        QVERIFY(perform({"relay 3"}));
        QVERIFY(!perform({"click Latch Input"})); // not under PC control
        QVERIFY(perform({"click PC-Control"}));
        QVERIFY(table()[2].PCControl && rig->device.relay(2).pcControl);
        QVERIFY(perform({"click Latch Input", "click Momentary Input", "click PC-Control"}));
        QCOMPARE(rig->device.received(), QByteArray("\033c3\r\033l3\r\033m3\r\033c3\r"));
        QVERIFY(!rig->device.relay(2).pcControl);
        QVERIFY(!rig->probe.isEnabled(u"Momentary Input"_s));
        QVERIFY(!rig->probe.portOpen());
    }
};

QTEST_MAIN(TestMainWindowDevice)
#include "tst_mainwindowdevice.moc"
