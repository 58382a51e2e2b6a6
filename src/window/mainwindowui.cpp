#include "window/mainwindowui.h"

#include "config/relayconfig.h"
#include "record/pictures.h"
#include "window/clickablelabel.h"
#include "window/closuretimeentry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace
{

// The designed client area; the window keeps it and has no resize handling.
// The background keeps the same margin on its right as above it.
constexpr int ClientWidth = 962;
constexpr int ClientHeight = 522;

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *control = named(new QLabel(caption, parent), name);
    control->setGeometry(geometry);
    return control;
}

// Pictures sit by their top left corner on the point where the background's
// wires meet them; a narrower gate leaves its spare width on the right.
QLabel *picture(QLabel *control, const QPoint &topLeft, const QSize &size)
{
    control->setGeometry(QRect(topLeft, size));
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

} // namespace

RelayEditor::Controls MainWindowUi::setupUi(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("frmMain"));
    auto *client = new QWidget(window);
    client->setFixedSize(ClientWidth, ClientHeight);
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    RelayEditor::Controls editor;
    createControls(client, editor);
    createMenus(window);
    orderTabs(editor);
    nameForScreenReaders(editor);
    return editor;
}

void MainWindowUi::orderTabs(const RelayEditor::Controls &editor)
{
    // Down the left column, down the middle one, then the pictures from the
    // inputs across to the relay, as the eye reads the window.
    QList<QWidget *> chain{cmbPort,
                           cmdRescan,
                           editor.relayNumbers,
                           editor.relayModes,
                           editor.inputModes,
                           editor.pcControl,
                           editor.momentaryInput,
                           editor.latchInput,
                           editor.latchSet,
                           editor.unlatchSet,
                           txtStatus};
    chain << editor.closureTime->tabOrder();
    chain << QList<QWidget *>{btnReadRelay, btnPgmRelay, btnReadAll, btnPgmAll, btnCancel};
    for (ClickableLabel *input : editor.inputs)
        chain << input;
    chain << editor.gate << editor.relay;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

void MainWindowUi::nameForScreenReaders(const RelayEditor::Controls &editor)
{
    // Controls with a caption or a buddy label are named by it; these have
    // neither. The editor names and describes its pictures as they change.
    imgLogo->setAccessibleName(tr("Tavik Configuration Manager"));
    Image1->setAccessibleName(tr("Wiring"));
    Image1->setAccessibleDescription(tr("Wires from the inputs through the input mode's gate to the relay"));
    cmdRescan->setAccessibleName(tr("Rescan available ports"));
    prbProgress->setAccessibleName(tr("Progress"));
    txtStatus->setAccessibleDescription(tr("What the last command did"));
    editor.pcControl->setAccessibleDescription(
        tr("The relay follows the PC's commands instead of its inputs"));
    editor.momentaryInput->setAccessibleDescription(tr("Closes the relay shown for a moment"));
    editor.latchInput->setAccessibleDescription(tr("Latches the relay shown"));
    editor.latchSet->setAccessibleDescription(tr("The pictures show the inputs that latch the relay"));
    editor.unlatchSet->setAccessibleDescription(tr("The pictures show the inputs that unlatch the relay"));
}

void MainWindowUi::createControls(QWidget *client, RelayEditor::Controls &editor)
{
    // Background first, so that everything else lies on top of it.
    Image1 = named(new QLabel(client), "Image1");
    Image1->setGeometry(445, 5, 512, 512); // shown unscaled: the wires are drawn to its own pixels

    imgLogo = named(new QLabel(client), "imgLogo");
    picture(imgLogo, QPoint(8, 4), QSize(420, 128));

    // Left column: the port row in its rectangle, the three lists, PC control,
    // the two input sets, the status box. The port list takes the row's whole
    // width under its caption, so that an entry such as "Com12 (ttyUSB0)" shows
    // in full.
    Shape1 = named(new QFrame(client), "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(8, 138, 214, 54);
    lblOpt = label(client, "lblOpt", tr("&COM Port:"), QRect(14, 141, 170, 18));
    cmbPort = named(new QComboBox(client), "cmbPort");
    cmbPort->setGeometry(14, 160, 170, 26);
    lblOpt->setBuddy(cmbPort);
    cmdRescan = named(new QPushButton(tr("R"), client), "cmdRescan");
    cmdRescan->setToolTip(tr("Rescan available ports"));
    cmdRescan->setGeometry(188, 160, 28, 26);

    const auto list = [client](const char *name, const QRect &geometry) {
        auto *control = named(new QComboBox(client), name);
        control->setGeometry(geometry);
        return control;
    };
    label(client, "lblRelayNum", tr("Relay &Number:"), QRect(8, 196, 214, 17))
        ->setBuddy(editor.relayNumbers = list("cboRelNum", QRect(8, 213, 214, 26)));
    label(client, "lblRelMode", tr("Relay &Mode:"), QRect(8, 242, 214, 17))
        ->setBuddy(editor.relayModes = list("cboRelMode", QRect(8, 259, 214, 26)));
    label(client, "lblInputMode", tr("&Input Mode:"), QRect(8, 288, 214, 17))
        ->setBuddy(editor.inputModes = list("cboInputMode", QRect(8, 305, 214, 26)));

    editor.pcControl = named(new QCheckBox(tr("PC-Con&trol"), client), "chkPCControl");
    editor.pcControl->setGeometry(8, 337, 94, 24);
    editor.momentaryInput = named(new QPushButton(tr("M&omentary Input"), client), "btnMoment");
    editor.momentaryInput->setGeometry(104, 335, 118, 28);
    editor.latchInput = named(new QPushButton(tr("&Latch Input"), client), "btnLatch");
    editor.latchInput->setGeometry(104, 366, 118, 28);

    editor.latchSet = named(new QRadioButton(tr("Latching Inp&ut"), client), "rbLatch");
    editor.latchSet->setGeometry(8, 396, 214, 21);
    editor.latchSet->setChecked(true);
    editor.unlatchSet = named(new QRadioButton(tr("Unlatchin&g Input"), client), "rbUnlatch");
    editor.unlatchSet->setGeometry(8, 417, 214, 21);

    lblStatus = label(client, "lblStatus", tr("&Status:"), QRect(8, 440, 214, 18));
    txtStatus = named(new QPlainTextEdit(client), "txtStatus");
    lblStatus->setBuddy(txtStatus);
    txtStatus->setGeometry(8, 458, 214, 58);
    txtStatus->setReadOnly(true);
    txtStatus->setTabChangesFocus(true);
    txtStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    editor.closureTime = new ClosureTimeEntry(client);
    editor.closureTime->setGeometry(230, 136, 207, 222);
    createReadProgControls(client);
    createPictureControls(client, editor);
}

void MainWindowUi::createReadProgControls(QWidget *client)
{
    fraReadProg = named(new QGroupBox(tr("Read/Program"), client), "fraReadProg");
    fraReadProg->setGeometry(230, 364, 207, 152);
    XPHolder = named(new QWidget(fraReadProg), "XPHolder");
    XPHolder->setGeometry(6, 22, 195, 100);

    const auto button = [this](const char *name, const QString &caption, const QRect &geometry) {
        auto *control = named(new QPushButton(caption, XPHolder), name);
        control->setGeometry(geometry);
        return control;
    };
    btnReadRelay = button("btnReadRelay", tr("Rea&d Relay"), QRect(0, 0, 96, 30));
    btnPgmRelay = button("btnPgmRelay", tr("Program &Relay"), QRect(99, 0, 96, 30));
    btnReadAll = button("btnReadAll", tr("Read &All"), QRect(0, 34, 96, 30));
    btnPgmAll = button("btnPgmAll", tr("&Program All"), QRect(99, 34, 96, 30));
    prbProgress = named(new QProgressBar(XPHolder), "prbProgress");
    prbProgress->setGeometry(0, 72, 195, 20);
    prbProgress->setRange(0, 31);
    prbProgress->setValue(0);
    prbProgress->setTextVisible(false);
    // Shown, beside a shorter bar, only while a whole-table command runs.
    // Esc is its key, so it needs no letter.
    btnCancel = button("btnCancel", tr("Cancel"), QRect(135, 68, 60, 28));
    btnCancel->setToolTip(tr("Stop after the relay in progress, leaving Tavik at its menu (Esc)"));
    btnCancel->setVisible(false);

    lblAction = label(fraReadProg, "lblAction", tr("Waiting for command..."), QRect(8, 122, 193, 22));
    lblAction->setVisible(false);
}

void MainWindowUi::createPictureControls(QWidget *client, RelayEditor::Controls &editor)
{
    // Inputs, gate and relay read from left to right across the background,
    // each where the background's wires end.
    const QPoint background = Image1->pos();
    for (int i = 0; i < InputCount; ++i) {
        auto *button = named(new ClickableLabel(client), "imgInputBtn");
        button->setProperty("index", i);
        picture(button, background + backgroundInputPosition(i), QSize(128, 32));
        editor.inputs.append(button);
    }
    editor.gate = named(new ClickableLabel(client), "imgLogicGate");
    picture(editor.gate, background + backgroundGatePosition(), QSize(165, 128)); // the widest gate
    editor.relay = named(new ClickableLabel(client), "imgRelay");
    picture(editor.relay, background + backgroundRelayPosition(), QSize(128, 80));
}

void MainWindowUi::createMenus(QMainWindow *window)
{
    const auto item = [](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto separator = [](QMenu *menu, const char *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto submenu = [](QMenu *menu, const char *name, const QString &caption) {
        QMenu *sub = menu->addMenu(caption);
        sub->setObjectName(QLatin1String(name));
        sub->menuAction()->setObjectName(QLatin1String(name));
        return sub;
    };
    // Item 0 of each array as designed; start-up captions it and adds the rest.
    const auto arrayItem = [](QList<QAction *> &array, QMenu *menu, const char *name,
                              bool checkable = false) {
        QAction *action = menu->addAction(QStringLiteral("item"));
        action->setObjectName(QLatin1String(name));
        action->setCheckable(checkable);
        array.append(action);
    };

    mnuFile = window->menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew = item(mnuFile, "mnuFileNew", tr("&New"));
    mnuFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", tr("&Open..."));
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSep1 = separator(mnuFile, "mnuFileSep1");
    mnuFileSave = item(mnuFile, "mnuFileSave", tr("&Save"));
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = item(mnuFile, "mnuFileSaveAs", tr("Save &As..."));
    mnuFilePrint = item(mnuFile, "mnuFilePrint", tr("&Print..."));
    mnuFilePrint->setShortcut(QKeySequence::Print);
    mnuFileExportPdf = item(mnuFile, "mnuFileExportPdf", tr("&Export PDF..."));
    mnuFileSep2 = separator(mnuFile, "mnuFileSep2");
    mnuFileExit = item(mnuFile, "mnuFileExit", tr("E&xit"));
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuEdit = window->menuBar()->addMenu(tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEdit->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditUndo = item(mnuEdit, "mnuEditUndo", tr("&Undo"));
    mnuEditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEditRedo = item(mnuEdit, "mnuEditRedo", tr("&Redo"));
    mnuEditRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    mnuLine0 = separator(mnuEdit, "mnuLine0");
    mnuEditCopy = submenu(mnuEdit, "mnuEditCopy", tr("&Copy"));
    mnuEditCopyRelMode = item(mnuEditCopy, "mnuEditCopyRelMode", tr("&Relay Mode"));
    mnuEditCopyInMode = item(mnuEditCopy, "mnuEditCopyInMode", tr("&Input Mode"));
    mnuEditCopyInMap = item(mnuEditCopy, "mnuEditCopyInMap", tr("Input &Map"));
    mnuEditCopyTime = item(mnuEditCopy, "mnuEditCopyTime", tr("Closure &Time"));
    mnuLine3 = separator(mnuEditCopy, "mnuLine3");
    mnuEditCopyConfig = item(mnuEditCopy, "mnuEditCopyConfig", tr("Relay &Configuration"));
    // A text box that has the focus keeps these keys for its own text.
    mnuEditCopyConfig->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste = item(mnuEdit, "mnuEditPaste", tr("&Paste"));
    mnuEditPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuLine1 = separator(mnuEdit, "mnuLine1");

    mnuEditChange = submenu(mnuEdit, "mnuEditChange", tr("C&hange Relay"));
    mnuEditChangeNums = submenu(mnuEditChange, "mnuEditChangeNums", tr("&Number"));
    arrayItem(mnuEditChangeNum, mnuEditChangeNums, "mnuEditChangeNum", true);
    mnuEditChangeModes = submenu(mnuEditChange, "mnuEditChangeModes", tr("M&ode"));
    arrayItem(mnuEditChangeMode, mnuEditChangeModes, "mnuEditChangeMode", true);
    mnuChangeInModes = submenu(mnuEditChange, "mnuChangeInModes", tr("&Input Mode"));
    arrayItem(mnuChangeInMode, mnuChangeInModes, "mnuChangeInMode", true);
    mnuChangeMaps = submenu(mnuEditChange, "mnuChangeMaps", tr("Input &Map"));
    arrayItem(mnuChangeMap, mnuChangeMaps, "mnuChangeMap", true);
    mnuChangeTimes = item(mnuEditChange, "mnuChangeTimes", tr("&Closure Time..."));

    mnuRead = submenu(mnuEdit, "mnuRead", tr("R&ead"));
    mnuReadRelays = submenu(mnuRead, "mnuReadRelays", tr("&Relay"));
    arrayItem(mnuReadRelay, mnuReadRelays, "mnuReadRelay");
    mnuReadAll = item(mnuRead, "mnuReadAll", tr("&All"));

    mnuProg = submenu(mnuEdit, "mnuProg", tr("Pr&ogram"));
    mnuProgRelays = submenu(mnuProg, "mnuProgRelays", tr("&Relay"));
    arrayItem(mnuProgRelay, mnuProgRelays, "mnuProgRelay");
    mnuProgAll = item(mnuProg, "mnuProgAll", tr("&All"));
    mnuEditCompare = item(mnuEdit, "mnuEditCompare", tr("Co&mpare with Device"));

    MnuClear = submenu(mnuEdit, "MnuClear", tr("C&lear"));
    mnuClearRelays = submenu(MnuClear, "mnuClearRelays", tr("&Relay"));
    arrayItem(mnuClearRelay, mnuClearRelays, "mnuClearRelay");
    mnuClearAll = item(MnuClear, "mnuClearAll", tr("&All"));

    QMenu *mnuHelp = window->menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", tr("&About..."));
}

QAction *MainWindowUi::addArrayItem(QList<QAction *> &array, QMenu *menu)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(array.first()->objectName());
    action->setCheckable(array.first()->isCheckable());
    array.append(action);
    return action;
}

void MainWindowUi::fillMenus(const QStringList &relayModes, const QStringList &inputModes)
{
    const auto fill = [](QList<QAction *> &array, QMenu *menu, const QStringList &captions) {
        for (int j = 0; j < captions.size(); ++j) {
            if (j > 0)
                addArrayItem(array, menu);
            array.at(j)->setText(captions.at(j));
        }
    };
    QStringList relays, inputs;
    for (int n = 1; n <= RelayCount; ++n)
        relays << tr("Relay %1").arg(n);
    for (int n = 1; n <= InputCount; ++n)
        inputs << tr("Input %1").arg(n);
    fill(mnuEditChangeNum, mnuEditChangeNums, relays);
    fill(mnuReadRelay, mnuReadRelays, relays);
    fill(mnuProgRelay, mnuProgRelays, relays);
    fill(mnuClearRelay, mnuClearRelays, relays);
    fill(mnuEditChangeMode, mnuEditChangeModes, relayModes);
    fill(mnuChangeInMode, mnuChangeInModes, inputModes);
    fill(mnuChangeMap, mnuChangeMaps, inputs);
}

void MainWindowUi::loadFixedPictures()
{
    imgLogo->setPixmap(LoadResPicture(101));
    Image1->setPixmap(backgroundPicture());
}

void MainWindowUi::checkOnly(const QList<QAction *> &array, qint16 index)
{
    for (qsizetype i = 0; i < array.size(); ++i)
        array.at(i)->setChecked(i == index);
}
