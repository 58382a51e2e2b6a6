#include "base/errorlog.h"
#include "app/pictures.h"
#include "base/titleversion.h"
#include "window/clickablelabel.h"
#include "window/frmmain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QImage resourceImage(const char *type, int id)
{
    return PictureFromBytes(LoadResData(id, QLatin1String(type))).toImage();
}

bool shows(const QLabel *label, const char *type, int id)
{
    return !label->pixmap().isNull() && label->pixmap().toImage() == resourceImage(type, id);
}

QStringList captions(const QList<QAction *> &array)
{
    QStringList texts;
    for (const QAction *action : array)
        texts << action->text();
    return texts;
}

QList<int> checkedItems(const QList<QAction *> &array)
{
    QList<int> checked;
    for (int i = 0; i < array.size(); ++i)
        if (array.at(i)->isChecked())
            checked << i;
    return checked;
}

void collectActions(const QList<QAction *> &actions, QList<QAction *> &all)
{
    for (QAction *action : actions) {
        all << action;
        if (action->menu())
            collectActions(action->menu()->actions(), all);
    }
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<frmMain> w;
    QTemporaryDir logDir;

    RelayConfig &shownRecord() { return w->relayTable()[w->cboRelNum->currentIndex()]; }

    void typeAndPressEnter(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }

private slots:
    void initTestCase() { setErrorLogPath(logDir.filePath(QStringLiteral("ErrorLog.txt"))); }

    void init()
    {
        w = std::make_unique<frmMain>();
        w->Form_Load();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void cleanup() { w.reset(); }

    void startUpFillsTheListsWithTheFirstEntrySelected()
    {
        QCOMPARE(w->cboRelNum->count(), 16);
        QCOMPARE(w->cboRelNum->itemText(0), QStringLiteral("Relay 1"));
        QCOMPARE(w->cboRelNum->itemText(15), QStringLiteral("Relay 16"));
        QStringList modes, gates;
        for (int i = 0; i < w->cboRelMode->count(); ++i)
            modes << w->cboRelMode->itemText(i);
        for (int i = 0; i < w->cboInputMode->count(); ++i)
            gates << w->cboInputMode->itemText(i);
        QCOMPARE(modes.join(','), QStringLiteral("Momentary,Toggle,Leading-Edge,Trailing-Edge,Either-Edge,"
                                                 "Pulse-Stretch,Min-Time,Max-Time,Debounce,Latching"));
        QCOMPARE(gates.join(','), QStringLiteral("OR,AND,XOR,IL,NOR,NAND,NXOR,NIL"));
        for (QComboBox *list : {w->cboRelNum, w->cboRelMode, w->cboInputMode})
            QCOMPARE(list->currentIndex(), 0);
        QVERIFY(w->lblAction->isVisible());
        QCOMPARE(w->lblAction->text(), QStringLiteral("Waiting for command..."));
    }

    void startUpBuildsEveryMenuArray()
    {
        QStringList relays, inputs;
        for (int n = 1; n <= 16; ++n)
            relays << QStringLiteral("Relay %1").arg(n);
        for (int n = 1; n <= 12; ++n)
            inputs << QStringLiteral("Input %1").arg(n);
        QCOMPARE(captions(w->mnuEditChangeNum), relays);
        QCOMPARE(captions(w->mnuReadRelay), relays);
        QCOMPARE(captions(w->mnuProgRelay), relays);
        QCOMPARE(captions(w->mnuClearRelay), relays);
        QCOMPARE(captions(w->mnuChangeMap), inputs);
        QCOMPARE(captions(w->mnuEditChangeMode).join(','),
                 QStringLiteral("Momentary,Toggle,Leading-Edge,Trailing-Edge,Either-Edge,Pulse-Stretch,Min-Time,"
                                "Max-Time,Debounce,Latching"));
        QCOMPARE(captions(w->mnuChangeInMode).join(','), QStringLiteral("OR,AND,XOR,IL,NOR,NAND,NXOR,NIL"));
        // The menus themselves hold exactly these items.
        QCOMPARE(w->mnuEditChangeNums->actions(), w->mnuEditChangeNum);
        QCOMPARE(w->mnuChangeMaps->actions(), w->mnuChangeMap);

        QList<QAction *> all;
        collectActions(w->menuBar()->actions(), all);
        for (const QAction *action : all) {
            QVERIFY2(action->isSeparator() || !action->text().isEmpty(), qPrintable(action->objectName()));
            QVERIFY2(action->text() != QStringLiteral("item"), qPrintable(action->objectName()));
        }
        QCOMPARE(checkedItems(w->mnuEditChangeNum), QList<int>{0});
        QCOMPARE(checkedItems(w->mnuEditChangeMode), QList<int>{0});
        QCOMPARE(checkedItems(w->mnuChangeInMode), QList<int>{0});
    }

    void theFileMenuCarriesItsShortcuts()
    {
        QCOMPARE(w->mnuFileNew->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(w->mnuFileOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(w->mnuFileSave->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QCOMPARE(w->mnuFileExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
        QVERIFY(w->mnuFileSaveAs->shortcut().isEmpty());
    }

    void theCaptionNamesANewConfiguration()
    {
        QVERIFY(TitleVersion.startsWith(QStringLiteral("Tavik Configuration Manager v")));
        QCOMPARE(w->windowTitle(), TitleVersion + QStringLiteral(" [New.csv]"));
    }

    void startUpShowsTheDarkInputsTheOrGateRelayOneAndTheLogo()
    {
        for (int i = 0; i < 12; ++i) {
            QVERIFY2(shows(w->imgInputBtn.at(i), "INOFF", 101 + i), qPrintable(QString::number(i)));
            QVERIFY(!w->ShownInputs()[i]);
        }
        QVERIFY(shows(w->imgLogicGate, "INMODE", 101));
        QVERIFY(shows(w->imgRelay, "RELAY", 101));
        QVERIFY(!w->imgLogo->pixmap().isNull());
        QCOMPARE(w->imgLogo->pixmap().toImage(), LoadResPicture(101).toImage());
        QCOMPARE(w->Image1->pixmap().size(), QSize(512, 512));
    }

    void thePicturesSitOnTheEndsOfTheBackgroundsWires_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<QPoint>("topLeft");
        for (int i = 0; i < 12; ++i)
            QTest::addRow("input %d", i + 1) << i << QPoint(457, 19 + 40 * i);
        QTest::newRow("gate") << 12 << QPoint(617, 191);
        QTest::newRow("relay") << 13 << QPoint(817, 215);
    }
    void thePicturesSitOnTheEndsOfTheBackgroundsWires()
    {
        QFETCH(int, picture);
        QFETCH(QPoint, topLeft);
        QCOMPARE(w->Image1->geometry(), QRect(445, 5, 512, 512));
        QVERIFY(!w->Image1->hasScaledContents());
        const QLabel *label = picture < 12    ? w->imgInputBtn.at(picture)
                              : picture == 12 ? w->imgLogicGate
                                              : w->imgRelay;
        QCOMPARE(label->pos(), topLeft);
        // Every gate starts at the wires' end, however narrow it is.
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(label->width() >= label->pixmap().width());
        QVERIFY(label->height() >= label->pixmap().height());
    }

    void thePortListShowsATypicalEntryInFull_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("usb adapter") << "Com12 (ttyUSB0)";
        QTest::newRow("usb modem") << "Com10 (ttyACM0)";
        QTest::newRow("pseudo-terminal") << "Com11 (pts/12)";
    }
    void thePortListShowsATypicalEntryInFull()
    {
        QFETCH(QString, entry);
        w->cmbPort->clear();
        w->cmbPort->addItem(entry);
        QStyleOptionComboBox option;
        option.initFrom(w->cmbPort);
        option.currentText = entry;
        const QRect field = w->cmbPort->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                                QStyle::SC_ComboBoxEditField, w->cmbPort);
        QVERIFY2(w->cmbPort->fontMetrics().horizontalAdvance(entry) <= field.width(),
                 qPrintable(QStringLiteral("%1 px of text in %2 px")
                                .arg(w->cmbPort->fontMetrics().horizontalAdvance(entry))
                                .arg(field.width())));
        // The row keeps its rescan button inside its rectangle.
        QVERIFY(w->Shape1->geometry().contains(w->cmdRescan->geometry()));
        QVERIFY(!w->cmbPort->geometry().intersects(w->cmdRescan->geometry()));
        QVERIFY(!w->cmbPort->geometry().intersects(w->lblOpt->geometry()));
    }

    void aNarrowGateStillStartsWhereTheWiresEnd()
    {
        w->cboInputMode->setCurrentIndex(5); // NAND, the widest at 165
        QCOMPARE(w->imgLogicGate->pixmap().width(), 165);
        QVERIFY(w->imgLogicGate->width() >= 165);
        w->cboInputMode->setCurrentIndex(0); // OR, 150 wide
        QCOMPARE(w->imgLogicGate->pixmap().width(), 150);
        QCOMPARE(w->imgLogicGate->pos(), QPoint(617, 191));
    }

    void theRelayModeDecidesWhatCanBeEdited_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("timeEnabled");
        QTest::addColumn<bool>("optionsEnabled");
        QTest::newRow("Momentary") << 0 << false << false;
        QTest::newRow("Toggle") << 1 << false << false;
        QTest::newRow("Leading-Edge") << 2 << true << false;
        QTest::newRow("Pulse-Stretch") << 5 << true << false;
        QTest::newRow("Debounce") << 8 << true << false;
        QTest::newRow("Latching") << 9 << false << true;
    }
    void theRelayModeDecidesWhatCanBeEdited()
    {
        QFETCH(int, mode);
        QFETCH(bool, timeEnabled);
        QFETCH(bool, optionsEnabled);
        w->cboRelMode->setCurrentIndex(mode == 5 ? 9 : 5); // start from the opposite state
        w->cboRelMode->setCurrentIndex(mode);
        QCOMPARE(shownRecord().RelayMode, mode);
        QCOMPARE(checkedItems(w->mnuEditChangeMode), QList<int>{mode});
        for (QWidget *control : std::initializer_list<QWidget *>{w->fraTime, w->sliHrs, w->txtHrs, w->lblHrs,
                                                                 w->lblSliMins, w->sliSecs, w->txtSecs})
            QCOMPARE(control->isEnabled(), timeEnabled);
        QCOMPARE(w->rbLatch->isEnabled(), optionsEnabled);
        QCOMPARE(w->rbUnlatch->isEnabled(), optionsEnabled);
        if (optionsEnabled)
            QVERIFY(w->rbLatch->isChecked());
        QVERIFY(!shownRecord().ShowUnlatch);
    }

    void aLatchingRelayEditsItsUnlatchSetWhileUnlatchingInputIsSelected()
    {
        w->cboRelMode->setCurrentIndex(9);
        QTest::mouseClick(w->imgInputBtn.at(2), Qt::LeftButton);
        QTest::mouseClick(w->rbUnlatch, Qt::LeftButton);
        QVERIFY(shownRecord().ShowUnlatch);
        QVERIFY(!w->ShownInputs()[2]);
        QVERIFY(shows(w->imgInputBtn.at(2), "INOFF", 103));

        QTest::mouseClick(w->imgInputBtn.at(5), Qt::LeftButton);
        QTest::mouseClick(w->imgLogicGate, Qt::LeftButton);
        const RelayConfig &relay = shownRecord();
        QVERIFY(relay.UnlatchMap[5]);
        QVERIFY(!relay.InputMap[5]);
        QVERIFY(relay.InputMap[2]);
        QCOMPARE(relay.UnlatchInputMode, 1);
        QCOMPARE(relay.InputMode, 0);
        QVERIFY(shows(w->imgLogicGate, "INMODE", 102));

        QTest::mouseClick(w->rbLatch, Qt::LeftButton);
        QVERIFY(!relay.ShowUnlatch);
        QVERIFY(w->ShownInputs()[2]);
        QVERIFY(!w->ShownInputs()[5]);
        QVERIFY(shows(w->imgInputBtn.at(2), "INON", 103));
        QCOMPARE(w->cboInputMode->currentIndex(), 0);
        QCOMPARE(checkedItems(w->mnuChangeInMode), QList<int>{0});
    }

    void twoLatchingRelaysEachKeepTheSetTheyShow()
    {
        RelayConfig &first = w->relayTable()[0];
        RelayConfig &second = w->relayTable()[1];
        first.RelayMode = second.RelayMode = 9;
        first.UnlatchMap[3] = true;
        first.UnlatchInputMode = 2;
        first.ShowUnlatch = true;
        second.InputMap[7] = true;
        second.UnlatchMap[3] = true;
        second.InputMode = 5;

        for (int round = 0; round < 2; ++round) {
            w->cboRelNum->setCurrentIndex(1);
            QVERIFY(w->rbLatch->isChecked());
            QVERIFY(w->ShownInputs()[7]);
            QVERIFY(!w->ShownInputs()[3]);
            QCOMPARE(w->cboInputMode->currentIndex(), 5);
            QVERIFY(shows(w->imgLogicGate, "INMODE", 106));

            w->cboRelNum->setCurrentIndex(0);
            QVERIFY(w->rbUnlatch->isChecked());
            QVERIFY(w->ShownInputs()[3]);
            QVERIFY(!w->ShownInputs()[7]);
            QVERIFY(shows(w->imgInputBtn.at(3), "INON", 104));
            QCOMPARE(w->cboInputMode->currentIndex(), 2);
            QCOMPARE(checkedItems(w->mnuChangeInMode), QList<int>{2});
        }
        QVERIFY(first.ShowUnlatch);
        QVERIFY(!second.ShowUnlatch);
        QCOMPARE(first.InputMode, 0);
        QCOMPARE(second.UnlatchInputMode, 0);
    }

    void leavingLatchingWhileTheUnlatchSetIsShownShowsTheLatchSet()
    {
        w->cboRelMode->setCurrentIndex(9);
        QTest::mouseClick(w->imgInputBtn.at(0), Qt::LeftButton); // latch set
        QTest::mouseClick(w->rbUnlatch, Qt::LeftButton);
        QTest::mouseClick(w->imgInputBtn.at(11), Qt::LeftButton); // unlatch set
        w->cboRelMode->setCurrentIndex(5);
        QVERIFY(!shownRecord().ShowUnlatch);
        QVERIFY(w->ShownInputs()[0]);
        QVERIFY(!w->ShownInputs()[11]);
        QVERIFY(!w->rbLatch->isEnabled());
    }

    void clickingAnInputTwiceRestoresMapAndPicture_data()
    {
        QTest::addColumn<int>("input");
        QTest::newRow("first") << 0;
        QTest::newRow("middle") << 6;
        QTest::newRow("last") << 11;
    }
    void clickingAnInputTwiceRestoresMapAndPicture()
    {
        QFETCH(int, input);
        QTest::mouseClick(w->imgInputBtn.at(input), Qt::LeftButton);
        QVERIFY(shownRecord().InputMap[input]);
        QVERIFY(shows(w->imgInputBtn.at(input), "INON", 101 + input));
        for (int other = 0; other < 12; ++other)
            QCOMPARE(shownRecord().InputMap[other], other == input);
        QTest::mouseClick(w->imgInputBtn.at(input), Qt::LeftButton);
        QVERIFY(!shownRecord().InputMap[input]);
        QVERIFY(shows(w->imgInputBtn.at(input), "INOFF", 101 + input));
    }

    void anInputIndexOutsideTheTwelveIsIgnored()
    {
        const RelayTable before = w->relayTable();
        w->imgInputBtn_Click(12);
        w->imgInputBtn_Click(-1);
        QVERIFY(w->relayTable() == before);
    }

    void theRelayAndGatePicturesStepAndWrapAround_data()
    {
        QTest::addColumn<bool>("relayPicture");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("relay 4 to 5") << true << 3 << 4;
        QTest::newRow("relay 16 to 1") << true << 15 << 0;
        QTest::newRow("AND to XOR") << false << 1 << 2;
        QTest::newRow("NIL to OR") << false << 7 << 0;
    }
    void theRelayAndGatePicturesStepAndWrapAround()
    {
        QFETCH(bool, relayPicture);
        QFETCH(int, from);
        QFETCH(int, to);
        QComboBox *list = relayPicture ? w->cboRelNum : w->cboInputMode;
        list->setCurrentIndex(from);
        QTest::mouseClick(relayPicture ? w->imgRelay : w->imgLogicGate, Qt::LeftButton);
        QCOMPARE(list->currentIndex(), to);
        if (relayPicture) {
            QVERIFY(shows(w->imgRelay, "RELAY", 101 + to));
            QCOMPARE(checkedItems(w->mnuEditChangeNum), QList<int>{to});
        } else {
            QVERIFY(shows(w->imgLogicGate, "INMODE", 101 + to));
            QCOMPARE(shownRecord().InputMode, to);
        }
    }

    void typedTimesAreCleanedLimitedAndStored_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("counter");
        QTest::newRow("99 hours") << "txtHrs" << "99" << "45" << 45 << 16200000;
        QTest::newRow(".5 hours") << "txtHrs" << ".5" << "0" << 0 << 0;
        QTest::newRow("1. hours") << "txtHrs" << "1." << "1" << 1 << 360000;
        QTest::newRow("ab minutes") << "txtMins" << "ab" << "0" << 0 << 0;
        QTest::newRow("-7 minutes") << "txtMins" << "-7" << "7" << 7 << 42000;
        QTest::newRow("5.5 seconds") << "txtSecs" << "5.5" << "5.50" << 550 << 550;
        QTest::newRow("5.07 seconds") << "txtSecs" << "5.07" << "5.07" << 507 << 507;
        QTest::newRow("12 seconds") << "txtSecs" << "12" << "12.00" << 1200 << 1200;
        QTest::newRow("75 seconds") << "txtSecs" << "75" << "59.99" << 5999 << 5999;
        QTest::newRow("1e400 seconds") << "txtSecs" << "1e400" << "59.99" << 5999 << 5999;
    }
    void typedTimesAreCleanedLimitedAndStored()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, slider);
        QFETCH(int, counter);
        w->cboRelMode->setCurrentIndex(5);
        auto *text = w->findChild<QLineEdit *>(box);
        QSlider *bar = text == w->txtHrs ? w->sliHrs : text == w->txtMins ? w->sliMins : w->sliSecs;
        typeAndPressEnter(text, typed);
        QCOMPARE(text->text(), shown);
        QCOMPARE(bar->value(), slider);
        const RelayConfig &relay = shownRecord();
        QCOMPARE(relay.Counter, counter);
        if (text == w->txtSecs) {
            QCOMPARE(relay.Seconds, slider / 100);
            QCOMPARE(relay.Hundredths, slider % 100);
        } else {
            QCOMPARE(text == w->txtHrs ? relay.Hours : relay.Minutes, slider);
        }
    }

    void enterValidatesAndKeepsTheFocus()
    {
        w->cboRelMode->setCurrentIndex(5);
        typeAndPressEnter(w->txtMins, QStringLiteral("07"));
        QCOMPARE(w->txtMins->text(), QStringLiteral("7"));
        QVERIFY(w->txtMins->hasFocus());
    }

    void leavingABoxValidatesIt()
    {
        w->cboRelMode->setCurrentIndex(5);
        w->txtHrs->setFocus();
        w->txtHrs->setText(QStringLiteral("4x"));
        w->txtMins->setFocus();
        QCOMPARE(w->txtHrs->text(), QStringLiteral("4"));
        QCOMPARE(shownRecord().Hours, 4);
    }

    void escapeRestoresTheSlidersTextAndLeavesTheRecord()
    {
        w->cboRelMode->setCurrentIndex(5);
        typeAndPressEnter(w->txtSecs, QStringLiteral("3.05"));
        const RelayConfig before = shownRecord();
        w->txtSecs->setText(QStringLiteral("17"));
        QTest::keyClick(w->txtSecs, Qt::Key_Escape);
        QCOMPARE(w->txtSecs->text(), QStringLiteral("3.05"));
        QVERIFY(shownRecord() == before);
    }

    void allThreeBoxesTogetherGiveTheCounter()
    {
        w->cboRelMode->setCurrentIndex(5);
        typeAndPressEnter(w->txtHrs, QStringLiteral("1"));
        typeAndPressEnter(w->txtMins, QStringLiteral("2"));
        typeAndPressEnter(w->txtSecs, QStringLiteral("3.04"));
        QCOMPARE(shownRecord().Counter, 372304);
    }

    void movingTheSecondsSliderWritesTextAndRecord()
    {
        w->cboRelMode->setCurrentIndex(5);
        w->sliSecs->setValue(1233);
        w->sliSecs->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(w->txtSecs->text(), QStringLiteral("12.34"));
        QCOMPARE(shownRecord().Seconds, 12);
        QCOMPARE(shownRecord().Hundredths, 34);
        QCOMPARE(shownRecord().Counter, 1234);
    }

    void showingARelayShowsItsTime()
    {
        RelayConfig &relay = w->relayTable()[6];
        relay.RelayMode = 2;
        relay.Counter = 360000 + 2 * 6000 + 570;
        CounterToTime(relay);
        w->cboRelNum->setCurrentIndex(6);
        QCOMPARE(w->txtHrs->text(), QStringLiteral("1"));
        QCOMPARE(w->txtMins->text(), QStringLiteral("2"));
        QCOMPARE(w->txtSecs->text(), QStringLiteral("5.70"));
        QCOMPARE(w->sliSecs->value(), 570);
        QCOMPARE(relay.Counter, 372570);
    }

    void theEditMenuChangesTheShownRelay()
    {
        w->mnuEditChangeNum.at(4)->trigger();
        QCOMPARE(w->cboRelNum->currentIndex(), 4);
        QCOMPARE(checkedItems(w->mnuEditChangeNum), QList<int>{4});
        QVERIFY(shows(w->imgRelay, "RELAY", 105));

        w->mnuEditChangeMode.at(9)->trigger();
        QCOMPARE(w->cboRelMode->currentIndex(), 9);
        QCOMPARE(checkedItems(w->mnuEditChangeMode), QList<int>{9});
        QCOMPARE(w->relayTable()[4].RelayMode, 9);
        QVERIFY(!w->fraTime->isEnabled());
        QVERIFY(w->rbLatch->isEnabled() && w->rbLatch->isChecked());

        QTest::mouseClick(w->rbUnlatch, Qt::LeftButton);
        w->mnuChangeInMode.at(6)->trigger();
        QCOMPARE(w->cboInputMode->currentIndex(), 6);
        QCOMPARE(w->relayTable()[4].UnlatchInputMode, 6);
        QCOMPARE(w->relayTable()[4].InputMode, 0);

        // Choosing the item already checked keeps it checked.
        w->mnuChangeInMode.at(6)->trigger();
        QCOMPARE(checkedItems(w->mnuChangeInMode), QList<int>{6});
    }

    void clearingARelayThatIsNotShownLeavesTheView()
    {
        RelayConfig &third = w->relayTable()[2];
        third.RelayMode = 9;
        third.InputMode = 3;
        third.InputMap[1] = true;
        third.UnlatchMap[1] = true;
        third.PCControl = true;
        third.Counter = 500;
        CounterToTime(third);
        QTest::mouseClick(w->imgInputBtn.at(4), Qt::LeftButton);
        const RelayConfig shown = shownRecord();

        w->mnuClearRelay.at(2)->trigger();
        QCOMPARE(w->cboRelNum->currentIndex(), 0);
        QVERIFY(w->ShownInputs()[4]);
        QVERIFY(shownRecord() == shown);
        QVERIFY(third.PCControl);
        RelayConfig expected;
        expected.PCControl = true;
        QVERIFY(third == expected);

        w->cboRelNum->setCurrentIndex(2);
        QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Momentary"));
        QCOMPARE(w->cboInputMode->currentText(), QStringLiteral("OR"));
        QCOMPARE(w->txtSecs->text(), QStringLiteral("0.00"));
        for (int i = 0; i < 12; ++i)
            QVERIFY(!w->ShownInputs()[i]);
    }

    void clearingTheShownRelayShowsItCleared_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("Clear > Relay") << false;
        QTest::newRow("Clear > All") << true;
    }
    void clearingTheShownRelayShowsItCleared()
    {
        QFETCH(bool, all);
        RelayConfig &relay = w->relayTable()[5];
        relay.RelayMode = 4;
        relay.InputMode = 7;
        relay.InputMap[9] = true;
        relay.PCControl = true;
        relay.Counter = 12345;
        CounterToTime(relay);
        w->relayTable()[15].RelayMode = 3;
        w->cboRelNum->setCurrentIndex(5);
        QVERIFY(w->chkPCControl->isChecked());

        (all ? w->mnuClearAll : w->mnuClearRelay.at(5))->trigger();
        QCOMPARE(w->cboRelMode->currentIndex(), 0);
        QCOMPARE(w->cboInputMode->currentIndex(), 0);
        QVERIFY(!w->ShownInputs()[9]);
        QVERIFY(shows(w->imgInputBtn.at(9), "INOFF", 110));
        QCOMPARE(w->txtMins->text(), QStringLiteral("0"));
        QCOMPARE(w->sliSecs->value(), 0);
        QVERIFY(w->chkPCControl->isChecked());
        QVERIFY(!w->fraTime->isEnabled());
        QCOMPARE(w->relayTable()[15].RelayMode, all ? 0 : 3);
    }

    void itemsWithoutAnActionChangeNothing()
    {
        QTest::mouseClick(w->imgInputBtn.at(1), Qt::LeftButton);
        const RelayTable before = w->relayTable();
        QList<QAction *> idle{w->mnuEditCopyRelMode, w->mnuEditCopyInMode, w->mnuEditCopyInMap, w->mnuEditCopyTime,
                              w->mnuEditCopyConfig, w->mnuEditPaste, w->mnuChangeTimes};
        idle += w->mnuChangeMap;
        for (QAction *action : idle) {
            QVERIFY(action->isEnabled());
            action->trigger();
        }
        QVERIFY(w->relayTable() == before);
        QCOMPARE(w->cboRelNum->currentIndex(), 0);
        QVERIFY(w->ShownInputs()[1]);
    }

    void enableReadProgTouchesOnlyTheEditMenuAndTheFourButtons()
    {
        QMap<QObject *, bool> before;
        QList<QAction *> actions;
        collectActions(w->menuBar()->actions(), actions);
        for (QWidget *widget : w->findChildren<QWidget *>())
            before[widget] = widget->isEnabled();
        for (QAction *action : actions)
            before[action] = action->isEnabled();

        w->EnableReadProg(false);
        QSet<QObject *> changed;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            auto *widget = qobject_cast<QWidget *>(it.key());
            const bool now = widget ? widget->isEnabled() : static_cast<QAction *>(it.key())->isEnabled();
            if (now != it.value())
                changed << it.key();
        }
        const QSet<QObject *> expected{w->mnuEdit->menuAction(), w->btnReadRelay,
                                       w->btnReadAll, w->btnPgmRelay, w->btnPgmAll};
        QCOMPARE(changed, expected);

        w->EnableReadProg(true);
        for (QObject *object : expected)
            QVERIFY(qobject_cast<QWidget *>(object) ? qobject_cast<QWidget *>(object)->isEnabled()
                                                    : static_cast<QAction *>(object)->isEnabled());
    }

    void aRelayIndexOutsideTheTableIsLoggedByItsProcedure()
    {
        QFile::remove(errorLogPath());
        w->ClearRelay(16);
        QFile log(errorLogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromLatin1(log.readAll()).contains(
            QStringLiteral(") in procedure ClearRelay of Form frmMain on line ")));
    }

    void theDialoguesUpdateTheEditorThroughItsView()
    {
        DialogueView &view = *w;
        view.setProgressValue(2.6);
        QCOMPARE(view.progressValue(), 2.6);
        QCOMPARE(w->prbProgress->value(), 3);
        QCOMPARE(view.progressMaximum(), 31.0);

        view.showRelayMode(9);
        QCOMPARE(w->cboRelMode->currentIndex(), 9);
        QCOMPARE(checkedItems(w->mnuEditChangeMode), QList<int>{9});
        QVERIFY(w->rbUnlatch->isEnabled());

        view.showInputMode(4);
        QCOMPARE(view.shownInputMode(), 4);
        QVERIFY(shows(w->imgLogicGate, "INMODE", 105));

        view.showInputState(8, true);
        QVERIFY(view.shownInput(8));
        QVERIFY(shows(w->imgInputBtn.at(8), "INON", 109));

        RelayConfig timed;
        timed.Counter = 305;
        CounterToTime(timed);
        view.showClosureTime(timed);
        QCOMPARE(w->txtSecs->text(), QStringLiteral("3.05"));
        QCOMPARE(w->sliSecs->value(), 305);

        view.showPCControl(true);
        QVERIFY(w->chkPCControl->isChecked());
        QVERIFY(w->btnMoment->isEnabled() && w->btnLatch->isEnabled());
        view.setStatusText(QStringLiteral("line"));
        view.setActionText(QStringLiteral("Relay read"));
        QCOMPARE(w->lblAction->text(), QStringLiteral("Relay read"));
        QCOMPARE(view.shownRelay(), 0);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
