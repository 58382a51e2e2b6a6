// The window driving the simulated Tavik through the real serial code.
#include "variedrelays.h"
#include "link/portnumber.h"
#include "base/errorlog.h"
#include "taviksimulator.h"
#include "window/frmmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{

const QString TimeoutText =
    QStringLiteral("Could not communicate with Tavik. Please check COM settings, power, and signal cables.");

// The window, with every action text, visibility change and progress value
// it is given written down in order.
class RecordingWindow : public frmMain
{
public:
    void setActionText(const QString &text) override
    {
        actions << text;
        if (onAction)
            onAction(text);
        frmMain::setActionText(text);
    }
    void setProgressValue(double value) override
    {
        progress << value;
        frmMain::setProgressValue(value);
    }

    QStringList actions;
    QList<double> progress;
    std::function<void(const QString &)> onAction;
};

// What the window's record holds after reading variedDeviceRelay(i).
void expectRead(const RelayConfig &record, int i)
{
    const SimRelay relay = variedDeviceRelay(i);
    QCOMPARE(record.RelayMode, qint16(relay.mode - 1));
    QCOMPARE(record.InputMode, qint16(relay.gate < 8 ? relay.gate : relay.gate - 4));
    for (int input = 0; input < InputCount; ++input)
        QCOMPARE(record.InputMap[input], bool(relay.map & (1 << input)));
    if (relay.mode == 10) {
        QCOMPARE(record.UnlatchInputMode, qint16(5));
        for (int input = 0; input < InputCount; ++input)
            QCOMPARE(record.UnlatchMap[input], input == 0 || input == 11);
    }
    QCOMPARE(record.Counter, qint32(relay.counter));
}

} // namespace

class TestFrmMainDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TavikSimulator> device;
    std::unique_ptr<RecordingWindow> w;

    RelayTable &table() { return w->relayTable(); }
    bool portOpen() { return w->deviceLink().port().isOpen(); }
    QStringList loggedProcedures()
    {
        QFile log(errorLogPath());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(log.readAll())
            .split(QStringLiteral("\r\n"))
            .filter(QStringLiteral(" in procedure "));
    }
    void showRelay(int index) { w->cboRelNum->setCurrentIndex(index); }
    void setFaults(const std::function<void(SimFaults &)> &change)
    {
        SimFaults faults;
        change(faults);
        device->setFaults(faults);
    }

private slots:
    void init()
    {
        setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog-%1.txt").arg(QTest::currentTestFunction())));
        device = std::make_unique<TavikSimulator>();
        QString error;
        QVERIFY2(device->start(&error), qPrintable(error));
        for (int i = 0; i < RelayCount; ++i)
            device->setRelay(i, variedDeviceRelay(i));

        w = std::make_unique<RecordingWindow>();
        w->deviceLink().port().directory().addRuntimePort(device->portPath());
        w->setPreferredPort(device->portPath());
        w->Form_Load();
        QVERIFY2(w->deviceLink().port().directory().location(portNumberFromText(w->cmbPort->currentText())) ==
                     device->portPath(),
                 qPrintable(w->cmbPort->currentText()));
        // Silence ends a wait after 3 ticks here instead of 31.
        w->deviceLink().clock().setTimeoutTicks(2);
        device->clearReceived();
        w->actions.clear();
        w->progress.clear();
    }

    void cleanup()
    {
        w.reset();
        device.reset();
    }

    void readingARelayUpdatesTheEditorOnlyWhenItIsShown_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<int>("relayRead");
        QTest::newRow("Read Relay button, relay 3 shown") << false << 2;
        QTest::newRow("Edit > Read > Relay 3, relay 3 shown") << true << 2;
        QTest::newRow("Edit > Read > Relay 5, relay 3 shown") << true << 4;
    }
    void readingARelayUpdatesTheEditorOnlyWhenItIsShown()
    {
        QFETCH(bool, fromMenu);
        QFETCH(int, relayRead);
        showRelay(2);
        QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Momentary"));

        if (fromMenu)
            w->mnuReadRelay.at(relayRead)->trigger();
        else
            w->btnReadRelay->click();

        expectRead(table()[relayRead], relayRead);
        QCOMPARE(w->lblAction->text(), QStringLiteral("Relay read"));
        QVERIFY(w->btnReadAll->isEnabled());
        QVERIFY(!portOpen());
        if (relayRead == 2) {
            QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Latching"));
            QCOMPARE(w->cboInputMode->currentText(), QStringLiteral("XOR"));
        } else {
            QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Momentary"));
            QCOMPARE(w->cboInputMode->currentText(), QStringLiteral("OR"));
            QCOMPARE(table()[2], RelayConfig{});
        }
    }

    void readAllReadsEveryRelayWithItsCaptionsAndProgress_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("finalCaption");
        QTest::newRow("Read All button") << false << QStringLiteral("Finished reading all");
        QTest::newRow("Edit > Read > All") << true << QStringLiteral("Relay read");
    }
    void readAllReadsEveryRelayWithItsCaptionsAndProgress()
    {
        QFETCH(bool, fromMenu);
        QFETCH(QString, finalCaption);
        if (fromMenu)
            w->mnuReadAll->trigger();
        else
            w->btnReadAll->click();

        QStringList captions{QStringLiteral("Reading Tavik...")};
        QList<double> progress{0};
        for (int n = 1; n <= 16; ++n) {
            captions << QStringLiteral("Reading relay %1").arg(n) << QStringLiteral("Relay read");
            progress << 2 * n - 1 << (2 * n) % 32;
        }
        if (!fromMenu)
            captions << finalCaption;
        QCOMPARE(w->actions, captions);
        QCOMPARE(w->progress, progress);
        QCOMPARE(w->lblAction->text(), finalCaption);
        QVERIFY(w->lblAction->isVisible());
        QCOMPARE(w->prbProgress->value(), 0);
        for (int i = 0; i < RelayCount; ++i)
            expectRead(table()[i], i);
        for (QPushButton *button : {w->btnReadRelay, w->btnPgmRelay, w->btnReadAll, w->btnPgmAll})
            QVERIFY(button->isEnabled());
        QVERIFY(w->mnuEdit->menuAction()->isEnabled());
    }

    void programAllThenReadAllGivesBackTheTable_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("finalCaption");
        QTest::newRow("Program All button") << false << QStringLiteral("Finished programming all");
        QTest::newRow("Edit > Program > All") << true << QStringLiteral("Relay programmed");
    }
    void programAllThenReadAllGivesBackTheTable()
    {
        QFETCH(bool, fromMenu);
        QFETCH(QString, finalCaption);
        // Relay 4 Latching with an unlatch set, relay 9 Max-Time with 1:02:03.45, the rest new.
        RelayConfig &latching = table()[3];
        latching.RelayMode = 9;
        latching.InputMode = 1;
        latching.InputMap[2] = latching.InputMap[7] = true;
        latching.UnlatchInputMode = 6;
        latching.UnlatchMap[10] = true;
        RelayConfig &timed = table()[8];
        timed.RelayMode = 7;
        timed.InputMode = 4;
        timed.InputMap[0] = true;
        timed.Hours = 1;
        timed.Minutes = 2;
        timed.Seconds = 3;
        timed.Hundredths = 45;
        TimeToCounter(timed);
        const RelayTable programmed = table();

        if (fromMenu)
            w->mnuProgAll->trigger();
        else
            w->btnPgmAll->click();
        QCOMPARE(w->lblAction->text(), finalCaption);
        QCOMPARE(w->prbProgress->value(), 1);
        QCOMPARE(w->actions.first(), QStringLiteral("Reading Tavik..."));
        QVERIFY(w->actions.contains(QStringLiteral("Programming relay 16")));

        // A Latching relay takes no closure time: the device keeps the one it had.
        const SimRelay programmedLatching = device->relay(3);
        QCOMPARE(programmedLatching.mode, 10);
        QCOMPARE(programmedLatching.gate, 1);
        QCOMPARE(programmedLatching.map, quint16(0x084));
        QCOMPARE(programmedLatching.unlatchGate, 10);
        QCOMPARE(programmedLatching.unlatchMap, quint16(0x400));
        QCOMPARE(device->relay(8).mode, 8);
        QCOMPARE(device->relay(8).gate, 8);
        QCOMPARE(device->relay(8).counter, quint32(372345));

        table() = RelayTable{};
        w->btnReadAll->click();
        QCOMPARE(w->lblAction->text(), QStringLiteral("Finished reading all"));
        for (int i = 0; i < RelayCount; ++i) {
            const RelayConfig &read = table()[i];
            const RelayConfig &sent = programmed[i];
            QCOMPARE(read.RelayMode, sent.RelayMode);
            QCOMPARE(read.InputMode, sent.InputMode);
            QCOMPARE(read.InputMap, sent.InputMap);
            if (isTimedMode(sent.RelayMode))
                QCOMPARE(read.Counter, sent.Counter);
        }
        QCOMPARE(table()[3].UnlatchInputMode, qint16(6));
        QCOMPARE(table()[3].UnlatchMap, latching.UnlatchMap);
    }

    void readAllStopsAtTheRelayThatFails()
    {
        w->onAction = [this](const QString &text) {
            if (text == QLatin1String("Reading relay 5"))
                setFaults([](SimFaults &f) { f.silent = true; });
        };
        w->btnReadAll->click();

        QCOMPARE(w->actions.mid(w->actions.size() - 2),
                 QStringList({QStringLiteral("Reading relay 5"), QStringLiteral("Finished reading all")}));
        QVERIFY(!w->lblAction->isVisible());
        QCOMPARE(w->prbProgress->value(), 0);
        QCOMPARE(w->txtStatus->toPlainText(), TimeoutText);
        for (int i = 0; i < 4; ++i)
            expectRead(table()[i], i);
        for (int i = 5; i < RelayCount; ++i)
            QCOMPARE(table()[i], RelayConfig{});
        QVERIFY(w->btnReadAll->isEnabled());
        QVERIFY(!portOpen());
    }

    void aLineThatHangsUpMidReadAllEndsTheCommandAndLeavesTheWindowUsable()
    {
        w->onAction = [this](const QString &text) {
            if (text == QLatin1String("Reading relay 3"))
                setFaults([](SimFaults &f) { f.hangUpAfterOutput = 30; });
        };
        w->btnReadAll->click();

        QVERIFY(!w->lblAction->isVisible());
        QCOMPARE(w->prbProgress->value(), 0);
        QVERIFY(!portOpen());
        QCOMPARE(
            w->txtStatus->toPlainText(),
            QStringLiteral("The connection to Tavik was lost. Please check the cable and the COM port."));
        QVERIFY2(!loggedProcedures().filter(QStringLiteral("portEvent")).isEmpty(),
                 qPrintable(loggedProcedures().join(QLatin1Char('\n'))));
        expectRead(table()[0], 0);
        expectRead(table()[1], 1);
        for (int i = 3; i < RelayCount; ++i)
            QCOMPARE(table()[i], RelayConfig{});

        // Still a working window: the editor, and a command that now finds no device.
        QVERIFY(w->btnReadRelay->isEnabled());
        showRelay(1);
        QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Toggle"));
        w->btnReadRelay->click();
        QVERIFY(w->btnReadRelay->isEnabled());
        QVERIFY(!portOpen());
        expectRead(table()[1], 1);
    }

    void pcControlFollowsTheDeviceOnlyWhenItAnswers_data()
    {
        QTest::addColumn<bool>("check");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("underPCControl");
        QTest::newRow("checked, device answering") << true << false
                                                   << QByteArray("\x1b"
                                                                 "c3\r")
                                                   << true;
        QTest::newRow("checked, device silent") << true << true
                                                << QByteArray("\x1b"
                                                              "c")
                                                << false;
        QTest::newRow("unchecked, device answering") << false << false
                                                     << QByteArray("\x1b"
                                                                   "c3\r")
                                                     << false;
        QTest::newRow("unchecked, device silent") << false << true
                                                  << QByteArray("\x1b"
                                                                "c")
                                                  << true;
    }
    void pcControlFollowsTheDeviceOnlyWhenItAnswers()
    {
        QFETCH(bool, check);
        QFETCH(bool, silent);
        QFETCH(QByteArray, sent);
        QFETCH(bool, underPCControl);
        showRelay(2);
        if (!check) {
            // Relay 3 under PC control as a read leaves it: box and record agree, nothing is sent.
            SimRelay relay = device->relay(2);
            relay.pcControl = true;
            device->setRelay(2, relay);
            w->btnReadRelay->click();
            QVERIFY(w->chkPCControl->isChecked());
            QVERIFY(w->btnLatch->isEnabled());
            QVERIFY(!device->received().contains('c'));
            device->clearReceived();
        }
        if (silent)
            setFaults([](SimFaults &f) { f.silent = true; });

        w->chkPCControl->setChecked(check);

        QCOMPARE(device->received(), sent);
        QCOMPARE(table()[2].PCControl, underPCControl);
        QCOMPARE(w->chkPCControl->isChecked(), check);
        QCOMPARE(w->btnLatch->isEnabled(), underPCControl);
        QCOMPARE(w->btnMoment->isEnabled(), underPCControl);
        if (!silent)
            QCOMPARE(device->relay(2).pcControl, underPCControl);
        else
            QCOMPARE(w->txtStatus->toPlainText(), TimeoutText);
        QVERIFY(!portOpen());
    }

    void latchAndMomentarySendOnlyForARelayUnderPCControl_data()
    {
        QTest::addColumn<bool>("latch");
        QTest::addColumn<bool>("underPCControl");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("Latch Input, not under PC control") << true << false << QByteArray();
        QTest::newRow("Momentary Input, not under PC control") << false << false << QByteArray();
        QTest::newRow("Latch Input under PC control, right button") << true << true
                                                                    << QByteArray("\x1b"
                                                                                  "l3\r");
        QTest::newRow("Momentary Input under PC control, right button") << false << true
                                                                        << QByteArray("\x1b"
                                                                                      "m3\r");
    }
    void latchAndMomentarySendOnlyForARelayUnderPCControl()
    {
        QFETCH(bool, latch);
        QFETCH(bool, underPCControl);
        QFETCH(QByteArray, sent);
        showRelay(2);
        QPushButton *button = latch ? w->btnLatch : w->btnMoment;
        if (underPCControl) {
            w->chkPCControl->setChecked(true);
            QVERIFY(button->isEnabled());
            device->clearReceived();
            QTest::mousePress(button, Qt::RightButton);
            QTRY_COMPARE(device->received(), sent);
            QTest::mouseRelease(button, Qt::RightButton);
        } else {
            // The disabled buttons take no clicks; the handlers still check.
            QVERIFY(!button->isEnabled());
            latch ? w->btnLatch_MouseDown() : w->btnMoment_MouseDown();
            QCOMPARE(device->received(), sent);
        }
        QTRY_VERIFY(!portOpen());
        QCOMPARE(loggedProcedures(), QStringList());
    }

    void exitWithThePortOpenClosesItAndTheWindow()
    {
        QCOMPARE(w->deviceLink().port().OpenSerPort(), qint16(1));
        QVERIFY(portOpen());
        w->mnuFileExit->trigger();
        QVERIFY(!portOpen());
        QVERIFY(!w->isVisible());
    }

    void exitDuringReadAllClosesTheWindowOnceTheCommandHasEnded()
    {
        w->onAction = [this](const QString &text) {
            if (text == QLatin1String("Reading relay 2"))
                QMetaObject::invokeMethod(w.get(), &frmMain::mnuFileExit_Click, Qt::QueuedConnection);
        };
        w->btnReadAll->click();
        QVERIFY(!w->isVisible());
        QVERIFY(!portOpen());
        QVERIFY(!w->actions.contains(QStringLiteral("Reading relay 3")));
        expectRead(table()[0], 0);
    }

    void closingTheWindowDuringReadAllEndsTheCommandFirst()
    {
        bool visibleWhenEnded = false;
        w->onAction = [this, &visibleWhenEnded](const QString &text) {
            if (text == QLatin1String("Reading relay 2"))
                QMetaObject::invokeMethod(w.get(), &QWidget::close, Qt::QueuedConnection);
            if (text == QLatin1String("Finished reading all"))
                visibleWhenEnded = w->isVisible();
        };
        w->btnReadAll->click();
        QVERIFY(visibleWhenEnded);
        QVERIFY(!w->isVisible());
        QVERIFY(!portOpen());
        QVERIFY(!w->actions.contains(QStringLiteral("Reading relay 3")));
    }
};

QTEST_MAIN(TestFrmMainDevice)
#include "tst_frmmaindevice.moc"
