#include "window/mainwindow.h"

#include "base/errorlog.h"
#include "base/titleversion.h"
#include "window/mainwindowui.h"
#include "window/oversizedlogbox.h"
#include "window/splashwindow.h"

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <cmath>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<MainWindowUi>()),
      m_editor(m_ui->setupUi(this), m_relayTable), m_ports(m_ui->cmbPort, m_ui->cmdRescan, m_session, this),
      m_editItems(*m_ui, m_editor, m_history, m_runner, this)
{
    m_session.setObjectName(QStringLiteral("deviceSession"));
    connectEditor();
    connectSession();
    connectCommands();
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

    connect(editor, &RelayEditor::relayShown, this,
            [this](qint16 relay) { MainWindowUi::checkOnly(m_ui->mnuEditChangeNum, relay); });
    connect(editor, &RelayEditor::relayModeShown, this,
            [this](qint16 mode) { MainWindowUi::checkOnly(m_ui->mnuEditChangeMode, mode); });
    connect(editor, &RelayEditor::inputModeShown, this,
            [this](qint16 gate) { MainWindowUi::checkOnly(m_ui->mnuChangeInMode, gate); });
    connect(editor, &RelayEditor::inputShown, this,
            [this](qint16 input, bool inMap) { m_ui->mnuChangeMap.at(input)->setChecked(inMap); });
    connect(editor, &RelayEditor::closureTimeEnabled, ui.mnuChangeTimes, &QAction::setEnabled);
}

void MainWindow::start()
{
    // 1. to 5. The lists and the Edit menu's arrays, the pictures and the
    // input buttons; the lists stay unselected and silent until step 10.
    m_ui->fillMenus(relayModeList(), inputModeList());
    m_ui->loadFixedPictures();
    m_editor.fill(relayModeList(), inputModeList());

    // 6. and 7. An empty table; the buttons show every input out.
    m_relayTable = RelayTable{};

    // 8. The splash window, on screen and painted before start-up goes on.
    auto *splash = new SplashWindow(this);
    splash->showPainted();

    // 9. The program's own folder is the current folder.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    // 10. Selecting the first entries runs their handlers, which show relay 1.
    m_editor.selectFirstEntries();

    // 11. The sliders already rest at 0, as relay 1 of the empty table shows.
    setProgressValue(0);
    m_ui->lblAction->setVisible(true);

    // 12. and 13. It goes once the event loop has shown the window in its place.
    QTimer::singleShot(0, splash, &QWidget::close);
    QTimer::singleShot(0, splash, &QObject::deleteLater);
    setWindowTitle(TitleVersion + QStringLiteral(" [New.csv]"));

    // 14. and 15.
    show();
    m_ports.rescan();
}

// What the session says, as the window shows it.

void MainWindow::connectSession()
{
    DeviceSession *session = &m_session;
    connect(session, &DeviceSession::statusChanged, this, &MainWindow::setStatusText);
    connect(session, &DeviceSession::actionChanged, m_ui->lblAction, &QLabel::setText);
    // A whole-table command: the bar at 2n + 1 while relay n + 1 goes, one
    // step on after it, round to 0 after 31.
    connect(session, &DeviceSession::progress, this, [this](int done) {
        if (done == 0) {
            setProgressValue(0);
            m_ui->lblAction->setVisible(true);
            return;
        }
        const double steps = m_ui->prbProgress->maximum() + 1;
        setProgressValue(std::fmod(std::nearbyint(m_progress + 1), steps));
    });
    connect(session, &DeviceSession::relayBegun, this,
            [this](int index) { setProgressValue(2 * index + 1); });
    connect(session, &DeviceSession::stoppedAt, this, [this] {
        m_ui->lblAction->setVisible(false);
        setProgressValue(0);
    });
    // The program dialogue: a twelfth of the bar past each step, the whole bar
    // once a time has gone.
    connect(session, &DeviceSession::dialogueProgress, this, [this](int done, int total) {
        const float maximum = float(m_ui->prbProgress->maximum());
        setProgressValue(done == 0       ? 0.0
                         : done >= total ? maximum
                                         : double(maximum / float(total) + float(done)));
    });
    connect(session, &DeviceSession::relayValueRead, &m_editor, &RelayEditor::followRead);
    connect(&m_runner, &CommandRunner::controlsHeld, this, [this](bool held) { enableControls(!held); });
    connect(&m_ports, &PortList::rescanning, this, [this](bool running) { enableControls(!running); });
    connect(&m_ports, &PortList::statusChanged, this, &MainWindow::setStatusText);
    connect(&m_editItems, &EditItems::statusChanged, this, &MainWindow::setStatusText);
}

void MainWindow::setStatusText(const QString &text)
{
    m_ui->txtStatus->setPlainText(text);
    // Screen readers hear the new status without the focus going to the box.
    m_ui->txtStatus->setAccessibleDescription(text);
    QAccessibleEvent announcement(m_ui->txtStatus, QAccessible::Alert);
    QAccessible::updateAccessibility(&announcement);
}

void MainWindow::setProgressValue(double value)
{
    m_progress = value;
    QProgressBar *bar = m_ui->prbProgress;
    bar->setValue(qBound(bar->minimum(), qRound(value), bar->maximum()));
}

void MainWindow::enableControls(bool enabled)
{
    // The menu bar entry: its submenus, Read, Program and Clear included,
    // cannot be reached while it is disabled.
    m_ui->mnuEdit->menuAction()->setEnabled(enabled);
    m_ui->btnReadRelay->setEnabled(enabled);
    m_ui->btnReadAll->setEnabled(enabled);
    m_ui->btnPgmRelay->setEnabled(enabled);
    m_ui->btnPgmAll->setEnabled(enabled);
    m_editItems.update();
}
