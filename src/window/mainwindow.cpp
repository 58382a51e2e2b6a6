#include "window/mainwindow.h"

#include "base/errorlog.h"
#include "base/titleversion.h"
#include "window/clickablelabel.h"
#include "window/mainwindowui.h"
#include "window/oversizedlogbox.h"
#include "window/splashwindow.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<MainWindowUi>()), m_editor(m_ui->setupUi(this), m_relayTable)
{
    m_session.setObjectName(QStringLiteral("deviceSession"));
    connectEditor();
    connectCommands();
    connectEditing();
    // The one failure a window user is shown: the log grown too large.
    setOversizedLogNotice(
        [this](const QString &logPath, const QString &text) { OversizedLogBox::show(this, logPath, text); });
}

MainWindow::~MainWindow()
{
    setOversizedLogNotice({});
}

void MainWindow::connectEditor()
{
    MainWindowUi &ui = *m_ui;
    RelayEditor *editor = &m_editor;
    // currentIndexChanged and toggled fire for a change made by the program as
    // for one made by the user, and not at all when nothing changes: the
    // selection convention the editor relies on.
    const auto onSelection = [editor](QComboBox *list, void (RelayEditor::*handler)()) {
        connect(list, &QComboBox::currentIndexChanged, editor, [editor, handler](int index) {
            if (index >= 0)
                (editor->*handler)();
        });
    };
    onSelection(ui.cboRelNum, &RelayEditor::onRelayChosen);
    onSelection(ui.cboRelMode, &RelayEditor::onRelayModeChosen);
    onSelection(ui.cboInputMode, &RelayEditor::onInputModeChosen);
    for (QRadioButton *option : {ui.rbLatch, ui.rbUnlatch}) {
        connect(option, &QRadioButton::toggled, editor, [editor](bool checked) {
            if (checked)
                editor->onInputSetChosen();
        });
    }
    connect(ui.imgRelay, &ClickableLabel::clicked, editor, &RelayEditor::showNextRelay);
    connect(ui.imgLogicGate, &ClickableLabel::clicked, editor, &RelayEditor::selectNextInputMode);
    for (int i = 0; i < ui.imgInputBtn.size(); ++i)
        connect(ui.imgInputBtn.at(i), &ClickableLabel::clicked, editor,
                [editor, i] { editor->toggleInput(qint16(i)); });

    // The item arrays grow at start-up; their menus tell which item was chosen.
    const auto onArray = [editor](QMenu *menu, QList<QAction *> &array,
                                  void (RelayEditor::*handler)(qint16)) {
        connect(menu, &QMenu::triggered, editor, [editor, &array, handler](QAction *action) {
            if (const qsizetype index = array.indexOf(action); index >= 0)
                (editor->*handler)(qint16(index));
        });
    };
    onArray(ui.mnuEditChangeNums, ui.mnuEditChangeNum, &RelayEditor::setShownRelay);
    onArray(ui.mnuEditChangeModes, ui.mnuEditChangeMode, &RelayEditor::selectRelayMode);
    onArray(ui.mnuChangeInModes, ui.mnuChangeInMode, &RelayEditor::selectInputMode);
    onArray(ui.mnuChangeMaps, ui.mnuChangeMap, &RelayEditor::toggleInput);
    onArray(ui.mnuClearRelays, ui.mnuClearRelay, &RelayEditor::clearRelay);
    connect(ui.mnuClearAll, &QAction::triggered, editor, &RelayEditor::clearAll);
}

void MainWindow::start()
{
    MainWindowUi &ui = *m_ui;
    // A list selects its first entry by itself when it is filled; the lists
    // stay unselected and silent until step 10 selects, as start-up intends.
    QSignalBlocker quietRelayNum(ui.cboRelNum), quietRelayMode(ui.cboRelMode),
        quietInputMode(ui.cboInputMode);

    // 1. to 5. The relay list and the Edit menu's arrays, the pictures, the
    // mode and gate lists, the input map items and the input buttons.
    ui.fillRelayNumbers();
    ui.loadFixedPictures();
    ui.fillRelayModes(relayModeList());
    ui.fillInputModes(inputModeList());
    ui.fillInputs();
    for (QComboBox *list : {ui.cboRelNum, ui.cboRelMode, ui.cboInputMode})
        list->setCurrentIndex(-1);

    // 6. and 7. An empty table; the buttons show every input out.
    m_relayTable = RelayTable{};
    m_editor.forgetShownInputs();

    // 8. The splash window, on screen and painted before start-up goes on.
    auto *splash = new SplashWindow(this);
    splash->showPainted();

    // 9. The program's own folder is the current folder.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    quietRelayNum.unblock();
    quietRelayMode.unblock();
    quietInputMode.unblock();

    // 10. Selecting the first entries runs their handlers, which show relay 1.
    ui.cboRelNum->setCurrentIndex(0);
    ui.cboRelMode->setCurrentIndex(0);
    ui.cboInputMode->setCurrentIndex(0);

    // 11. The sliders already rest at 0, as relay 1 of the empty table shows.
    setProgressValue(0);
    ui.lblAction->setVisible(true);

    // 12. and 13. It goes once the event loop has shown the window in its place.
    QTimer::singleShot(0, splash, &QWidget::close);
    QTimer::singleShot(0, splash, &QObject::deleteLater);
    setWindowTitle(TitleVersion + QStringLiteral(" [New.csv]"));

    // 14. and 15.
    show();
    rescanPorts();
}

// What the device dialogues see of the window.

void MainWindow::setStatusText(const QString &text)
{
    m_ui->txtStatus->setPlainText(text);
}

void MainWindow::setActionText(const QString &text)
{
    m_ui->lblAction->setText(text);
}

void MainWindow::setActionVisible(bool visible)
{
    m_ui->lblAction->setVisible(visible);
}

double MainWindow::progressValue() const
{
    return m_progress;
}

double MainWindow::progressMaximum() const
{
    return m_ui->prbProgress->maximum();
}

void MainWindow::setProgressValue(double value)
{
    // The dialogues step the bar in fractions; the bar itself counts whole steps.
    m_progress = value;
    QProgressBar *bar = m_ui->prbProgress;
    bar->setValue(qBound(bar->minimum(), qRound(value), bar->maximum()));
}

void MainWindow::enableReadProg(bool enabled)
{
    // The menu bar entry: its submenus, Read, Program and Clear included,
    // cannot be reached while it is disabled.
    m_ui->mnuEdit->menuAction()->setEnabled(enabled);
    m_ui->btnReadRelay->setEnabled(enabled);
    m_ui->btnReadAll->setEnabled(enabled);
    m_ui->btnPgmRelay->setEnabled(enabled);
    m_ui->btnPgmAll->setEnabled(enabled);
    updateEditItems();
}

int MainWindow::shownRelay() const
{
    return m_ui->cboRelNum->currentIndex();
}

int MainWindow::shownRelayMode() const
{
    return m_ui->cboRelMode->currentIndex();
}

void MainWindow::showRelayMode(int relayMode)
{
    m_editor.selectRelayMode(qint16(relayMode));
}

int MainWindow::shownInputMode() const
{
    return m_ui->cboInputMode->currentIndex();
}

void MainWindow::showInputMode(int inputMode)
{
    m_editor.selectInputMode(qint16(inputMode));
}

bool MainWindow::shownInput(int input) const
{
    return input >= 0 && input < InputCount && m_editor.shownInputs()[size_t(input)];
}

void MainWindow::showInputState(int input, bool inMap)
{
    if (input >= 0 && input < InputCount)
        m_editor.showInputState(qint16(input), inMap);
}

void MainWindow::showClosureTime(const RelayConfig &relay)
{
    m_editor.closureTime().showTimeOf(relay);
}

void MainWindow::showPCControl(bool underPCControl)
{
    m_editor.showPCControl(underPCControl);
}
