// The window for people without a mouse and for screen readers, against the
// simulated Tavik on a pseudo-terminal.
#include "base/errorlog.h"
#include "userstep.h"
#include "windowrig.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The captions that share a mnemonic letter, "A and B" a clash; none without a letter.
static QStringList clashes(const QStringList &captions)
{
    QMultiMap<int, QString> letters;
    for (const QString &caption : captions)
        if (const QKeySequence key = QKeySequence::mnemonic(caption); !key.isEmpty())
            letters.insert(key[0].key(), caption);
    QStringList found;
    for (const int letter : letters.uniqueKeys())
        if (letters.count(letter) > 1)
            found << QStringList(letters.values(letter)).join(u" and "_s);
    return found;
}

// What a dialog or the window offers Alt+letter on: buttons, labels of a control, group titles.
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

static QString spoken(QObject *object, QAccessible::Text text = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(object)->text(text);
}

class TestAccess : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<WindowRig> rig;

    QWidget *control(const char *name, int index = -1) const { return rig->probe.control(name, index); }
    // Tab until the control has the focus, then the keys: false when Tab never reaches it.
    bool tabTo(QWidget *target, const char *keys)
    {
        for (int tabs = 0; tabs < 50 && QApplication::focusWidget() != target; ++tabs)
            rig->probe.pressKey(u"Tab"_s);
        return QApplication::focusWidget() == target && performSteps(rig->probe, QLatin1String(keys));
    }

private slots:
    void initTestCase() { setErrorLogPath(dir.filePath(u"ErrorLog.txt"_s)); }
    void init()
    {
        rig = std::make_unique<WindowRig>();
        QVERIFY(rig->start());
    }
    void cleanup() { rig.reset(); }

    void theKeyboardAloneEditsAndProgramsARelay()
    {
        // Relay 3 made Latching: inputs 2 and 8 under AND latch it, input 11 under NAND unlatches it.
        QVERIFY(performSteps(rig->probe, u"key Alt+N; key Down; key Down; key Alt+M; key End"_s));
        QVERIFY(tabTo(control("imgInputBtn", 1), "key Space"));
        QVERIFY(tabTo(control("imgInputBtn", 7), "key Return"));
        QVERIFY(tabTo(control("imgLogicGate"), "key Enter"));
        QVERIFY(tabTo(control("rbLatch"), "key Down; key Space"));
        QVERIFY(tabTo(control("imgInputBtn", 10), "key Space"));
        QVERIFY(tabTo(control("imgLogicGate"), "key Space; key Space; key Space; key Space; key Space"));
        QCOMPARE(spoken(control("imgRelay")),
                 u"Relay 3: Latching, AND of inputs 2 and 8, unlatched by NAND of input 11"_s);
        QCOMPARE(spoken(control("imgInputBtn", 10)) + u'|' + spoken(control("imgLogicGate")),
                 u"Input 11, in the unlatch map|Input mode: NAND"_s);
        QVERIFY(tabTo(control("btnPgmRelay"), "key Space"));
        QCOMPARE(rig->window.actions.last(), u"Relay programmed"_s);

        // What the status box says reaches a screen reader without the focus going there.
        rig->device.setFaults(SimFaults{.hangUpAfterOutput = 30});
        QVERIFY(tabTo(control("btnReadRelay"), "key Space"));
        QVERIFY(!rig->probe.statusText().isEmpty());
        QCOMPARE(spoken(control("txtStatus"), QAccessible::Description), rig->probe.statusText());
    }

    void mnemonicsDoNotClash()
    {
        QStringList window = captionsIn(&rig->window);
        for (const QAction *entry : rig->window.menuBar()->actions())
            window << entry->text();
        QCOMPARE(clashes(window), QStringList());
        // A label of a list takes the list's focus by a letter of its own.
        for (const QLabel *label : rig->window.findChildren<QLabel *>())
            QVERIFY2(!qobject_cast<QComboBox *>(label->buddy()) ||
                         !QKeySequence::mnemonic(label->text()).isEmpty(),
                     qPrintable(label->text()));
        for (const QMenu *menu : rig->window.findChildren<QMenu *>()) {
            QStringList items;
            for (const QAction *item : menu->actions())
                items << item->text();
            QCOMPARE(clashes(items), QStringList());
        }

        QVERIFY(performSteps(rig->probe, u"mode Debounce; menu Edit/Change Relay/Closure Time..."_s));
        const QStringList captions = captionsIn(rig->window.findChild<QDialog *>());
        QCOMPARE(clashes(captions), QStringList());
        QCOMPARE(captions.filter(u"&"_s).size(), 3); // the three units; Enter and Esc answer the dialog
    }

    void everyVisibleControlHasAnAccessibleName()
    {
        int controls = 0;
        for (QWidget *widget : rig->window.findChildren<QWidget *>()) {
            if (widget->isVisible() &&
                ((widget->focusPolicy() & Qt::TabFocus) || qobject_cast<QLabel *>(widget) ||
                 qobject_cast<QProgressBar *>(widget))) {
                ++controls;
                QVERIFY2(!spoken(widget).isEmpty(), qPrintable(widget->objectName()));
            }
        }
        QVERIFY(controls >= 40); // 12 inputs, gate, relay, the lists, buttons, sliders, boxes, labels

        // A screen reader's press on a picture clicks it.
        QAccessibleInterface *input5 = QAccessible::queryAccessibleInterface(control("imgInputBtn", 4));
        QCOMPARE(input5->role(), QAccessible::Button);
        input5->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(input5->text(QAccessible::Name), u"Input 5, in the map"_s);
        QCOMPARE(rig->window.relayTable()[0].InputMap[4], true);
    }

    // "steps | input | what a screen reader hears of that input, the gate and the relay".
    void picturesTellWhatTheyShow_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row :
             {"picture relay; picture relay|1|Input 1, not in the map|Input mode: OR|"
              "Relay 3: Momentary, OR of no inputs",
              "relay 16; mode Debounce; input 3; input 6; input 9; gate NIL|6|Input 6, in the map|"
              "Input mode: NIL|Relay 16: Debounce, NIL of inputs 3, 6 and 9",
              "relay 3; mode Latching; click Unlatching Input; input 12; click Latching Input; input 1|12|"
              "Input 12, not in the map|Input mode: OR|Relay 3: Latching, OR of input 1, unlatched by OR of "
              "input 12"})
            QTest::newRow(strrchr(row, '|') + 1) << QString::fromLatin1(row);
    }
    void picturesTellWhatTheyShow()
    {
        QFETCH(QString, row);
        const QStringList cells = row.split(u'|');
        QVERIFY(performSteps(rig->probe, cells[0]));
        QCOMPARE(spoken(control("imgInputBtn", cells[1].toInt() - 1)) + u'|' +
                     spoken(control("imgLogicGate")) + u'|' + spoken(control("imgRelay")),
                 cells.mid(2).join(u'|'));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
