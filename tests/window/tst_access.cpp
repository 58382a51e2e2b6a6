// The window for people without a mouse and for screen readers, against the
// simulated Tavik on a pseudo-terminal.
#include "base/errorlog.h"
#include "userstep.h"
#include "windowrig.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestAccess : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<WindowRig> rig;

    RelayTable &table() { return rig->window.relayTable(); }
    QWidget *control(const char *name, int index = -1) const
    {
        for (QWidget *widget : rig->window.findChildren<QWidget *>(QLatin1String(name)))
            if (index < 0 || widget->property("index").toInt() == index)
                return widget;
        return nullptr;
    }
    static QString spoken(QObject *object, QAccessible::Text text = QAccessible::Name)
    {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(text) : QString();
    }
    // Tab, as often as it takes, until the control has the focus: false when
    // the Tab key never reaches it.
    bool tabTo(QWidget *target)
    {
        for (int tabs = 0; tabs < 50 && QApplication::focusWidget() != target; ++tabs)
            rig->probe.pressKey(u"Tab"_s);
        return QApplication::focusWidget() == target;
    }
    bool keys(const char *steps) { return performSteps(rig->probe, QString::fromLatin1(steps)); }

    // The letters of the captions that have one, each with the captions using it.
    static QMultiMap<QChar, QString> mnemonicsOf(const QStringList &captions)
    {
        QMultiMap<QChar, QString> letters;
        for (const QString &caption : captions)
            if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty())
                letters.insert(QChar(key[0].key()), caption);
        return letters;
    }
    static QStringList clashes(const QStringList &captions)
    {
        const QMultiMap<QChar, QString> letters = mnemonicsOf(captions);
        QStringList found;
        for (const QChar letter : letters.uniqueKeys())
            if (letters.count(letter) > 1)
                found << QStringList(letters.values(letter)).join(u" and "_s);
        return found;
    }
    // What a dialog or the window offers Alt+letter on: buttons, buddied labels, group titles.
    static QStringList captionsIn(const QWidget *top)
    {
        QStringList captions;
        for (const QAbstractButton *button : top->findChildren<QAbstractButton *>())
            captions << button->text();
        for (const QLabel *label : top->findChildren<QLabel *>())
            if (label->buddy())
                captions << label->text();
        for (const QGroupBox *group : top->findChildren<QGroupBox *>())
            captions << group->title();
        return captions;
    }

private slots:
    void initTestCase() { setErrorLogPath(dir.filePath(u"ErrorLog.txt"_s)); }
    void init()
    {
        rig = std::make_unique<WindowRig>();
        QVERIFY(rig->start());
        QApplication::setActiveWindow(&rig->window);
        QVERIFY(QTest::qWaitForWindowActive(&rig->window));
    }
    void cleanup() { rig.reset(); }

    void theKeyboardAloneEditsProgramsAndReadsBackARelay()
    {
        // Relay 3 made Latching: inputs 2 and 8 under AND latch it, input 11 under NAND unlatches it.
        QVERIFY(keys("key Alt+N; key Down; key Down; key Alt+M; key End"));
        QVERIFY(tabTo(control("imgInputBtn", 1)) && keys("key Space"));
        QVERIFY(tabTo(control("imgInputBtn", 7)) && keys("key Return"));
        QVERIFY(tabTo(control("imgLogicGate")) && keys("key Enter"));
        QVERIFY(tabTo(control("rbLatch")) && keys("key Down; key Space"));
        QVERIFY(tabTo(control("imgInputBtn", 10)) && keys("key Space"));
        QVERIFY(tabTo(control("imgLogicGate")) && keys("key Space; key Space; key Space; key Space; key Space"));
        QCOMPARE(spoken(control("imgRelay")),
                 u"Relay 3: Latching, AND of inputs 2 and 8, unlatched by NAND of input 11"_s);
        const RelayConfig edited = table()[2];

        QVERIFY(tabTo(control("btnPgmRelay")) && keys("key Space"));
        const SimRelay programmed = rig->device.relay(2);
        QCOMPARE(programmed.mode, 10);
        QCOMPARE(programmed.gate, 1);
        QCOMPARE(programmed.map, quint16(0x082));
        QCOMPARE(programmed.unlatchGate, 9);
        QCOMPARE(programmed.unlatchMap, quint16(0x400));

        // Input 11 out of the unlatch map again, then the device's relays read back over it.
        QVERIFY(tabTo(control("imgInputBtn", 10)) && keys("key Space"));
        QCOMPARE(table()[2].UnlatchMap[10], false);
        QVERIFY(tabTo(control("btnReadAll")) && keys("key Space"));
        QCOMPARE(table()[2], edited);

        // What the status box says reaches a screen reader without the focus going there.
        rig->device.setFaults(SimFaults{.hangUpAfterOutput = 30});
        QVERIFY(tabTo(control("btnReadRelay")) && keys("key Space"));
        QVERIFY(!rig->probe.statusText().isEmpty());
        QCOMPARE(spoken(control("txtStatus"), QAccessible::Description), rig->probe.statusText());
    }

    void mnemonicsDoNotClash()
    {
        const QStringList window = captionsIn(&rig->window) + [this] {
            QStringList entries;
            for (const QAction *entry : rig->window.menuBar()->actions())
                entries << entry->text();
            return entries;
        }();
        QVERIFY2(clashes(window).isEmpty(), qPrintable(clashes(window).join(u"; "_s)));
        // Every label that stands for a list takes its list's focus by a letter of its own.
        for (const QLabel *label : rig->window.findChildren<QLabel *>())
            QVERIFY2(!qobject_cast<QComboBox *>(label->buddy()) || mnemonicsOf({label->text()}).size() == 1,
                     qPrintable(label->text()));

        for (const QMenu *menu : rig->window.findChildren<QMenu *>()) {
            QStringList items;
            for (const QAction *item : menu->actions())
                items << item->text();
            QVERIFY2(clashes(items).isEmpty(), qPrintable(menu->title() + u": "_s + clashes(items).join(u"; "_s)));
        }

        QVERIFY(keys("mode Debounce; menu Edit/Change Relay/Closure Time..."));
        auto *dialog = rig->window.findChild<QDialog *>();
        QVERIFY(dialog);
        QCOMPARE(mnemonicsOf(captionsIn(dialog)).size(), 3); // the three units; Enter and Esc answer the dialog
        QVERIFY2(clashes(captionsIn(dialog)).isEmpty(), qPrintable(clashes(captionsIn(dialog)).join(u"; "_s)));
        delete dialog;
    }

    void everyVisibleControlHasAnAccessibleName()
    {
        int controls = 0;
        for (QWidget *widget : rig->window.findChildren<QWidget *>()) {
            const bool control = (widget->focusPolicy() & Qt::TabFocus) || qobject_cast<QLabel *>(widget) ||
                                 qobject_cast<QProgressBar *>(widget);
            if (!control || !widget->isVisible())
                continue;
            ++controls;
            QVERIFY2(!spoken(widget).isEmpty(), qPrintable(widget->objectName()));
        }
        QVERIFY(controls >= 40); // 12 inputs, gate, relay, the lists, buttons, sliders, boxes, labels
    }

    void picturesTellWhatTheyShow_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("inputText");
        QTest::addColumn<QString>("gateText");
        QTest::addColumn<QString>("relayText");
        QTest::newRow("cleared") << "picture relay; picture relay" << 1 << "Input 1, not in the map"
                                 << "Input mode: OR" << "Relay 3: Momentary, OR of no inputs";
        QTest::newRow("toggled back") << "relay 5; mode Toggle; input 1; input 4; input 1" << 4
                                      << "Input 4, in the map" << "Input mode: OR"
                                      << "Relay 5: Toggle, OR of input 4";
        QTest::newRow("three inputs") << "relay 16; mode Debounce; input 3; input 6; input 9; gate NIL" << 6
                                      << "Input 6, in the map" << "Input mode: NIL"
                                      << "Relay 16: Debounce, NIL of inputs 3, 6 and 9";
        QTest::newRow("unlatch set")
            << "relay 3; mode Latching; input 2; input 8; picture gate; click Unlatching Input; input 11; gate NAND"
            << 11 << "Input 11, in the unlatch map" << "Input mode: NAND"
            << "Relay 3: Latching, AND of inputs 2 and 8, unlatched by NAND of input 11";
        QTest::newRow("latch set again")
            << "relay 3; mode Latching; click Unlatching Input; input 12; click Latching Input; input 1" << 12
            << "Input 12, not in the map" << "Input mode: OR"
            << "Relay 3: Latching, OR of input 1, unlatched by OR of input 12";
    }
    void picturesTellWhatTheyShow()
    {
        QFETCH(QString, steps);
        QFETCH(int, input);
        QVERIFY(performSteps(rig->probe, steps));
        QTEST(spoken(control("imgInputBtn", input - 1)), "inputText");
        QTEST(spoken(control("imgLogicGate")), "gateText");
        QTEST(spoken(control("imgRelay")), "relayText");
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
