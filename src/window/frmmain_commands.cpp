// The window's commands: the port list, read and program, the live inputs,
// and the File menu.
#include "window/frmmain.h"

#include "base/titleversion.h"
#include "config/relaycomparison.h"
#include "config/tavikfile.h"
#include "link/portnumber.h"
#include "dialogues/scratchreader.h"
#include "window/comparisondialog.h"
#include "window/filechoice.h"
#include "window/mainwindowui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

namespace
{

Task<DialogueResult> resultOf(Task<BulkOutcome> command)
{
    co_return (co_await command).result;
}

DialogueResult resultOf(LiveOutcome outcome)
{
    switch (outcome) {
    case LiveOutcome::PortFailed:
        return DialogueResult::PortFailed;
    case LiveOutcome::Failed:
        return DialogueResult::TimedOut;
    case LiveOutcome::Cancelled:
        return DialogueResult::Cancelled;
    case LiveOutcome::NotSent:
    case LiveOutcome::Succeeded:
        break;
    }
    return DialogueResult::Done;
}

} // namespace

void frmMain::runDeviceCommand(Task<DialogueResult> command)
{
    m_session.start(std::move(command));
}

void frmMain::runBulkCommand(Task<BulkOutcome> command)
{
    showCancel(true);
    runDeviceCommand(resultOf(std::move(command)));
}

void frmMain::showCancel(bool shown)
{
    // The bar makes room for the button beside it.
    QProgressBar *bar = m_ui->prbProgress;
    bar->resize(shown ? m_ui->btnCancel->x() - bar->x() - 4 : m_ui->btnCancel->geometry().right() - bar->x() + 1,
                bar->height());
    m_ui->btnCancel->setVisible(shown);
    m_ui->btnCancel->setEnabled(shown);
    m_cancelKey->setEnabled(shown);
}

bool frmMain::lineIsFree()
{
    if (m_session.isIdle())
        return true;
    setStatusText(QStringLiteral("Tavik is busy with another command; wait for it to end or cancel it."));
    return false;
}

void frmMain::onSessionStateChanged(DeviceSession::State state)
{
    switch (state) {
    case DeviceSession::State::Running:
        m_history.hold(); // what the commands change is one step
        break;
    case DeviceSession::State::Cancelling:
        m_ui->btnCancel->setEnabled(false);
        m_cancelKey->setEnabled(false);
        break;
    case DeviceSession::State::Idle:
        showCancel(false);
        m_history.release(qint16(shownRelay()));
        if (m_closePending) {
            m_closePending = false;
            close();
        }
        break;
    }
}

void frmMain::connectCommands()
{
    connect(&m_session, &DeviceSession::stateChanged, this, &frmMain::onSessionStateChanged);
    connect(m_ui->btnCancel, &QPushButton::clicked, &m_session, &DeviceSession::cancel);
    // Esc anywhere in the window, while the Cancel button shows.
    // Enabled only then, so that Esc keeps its meaning in the time boxes.
    m_cancelKey = new QAction(this);
    m_cancelKey->setShortcut(Qt::Key_Escape);
    m_cancelKey->setShortcutContext(Qt::WindowShortcut);
    m_cancelKey->setEnabled(false);
    addAction(m_cancelKey);
    connect(m_cancelKey, &QAction::triggered, &m_session, &DeviceSession::cancel);
    connect(m_ui->cmdRescan, &QPushButton::clicked, this, &frmMain::cmdRescan_Click);
    // A dialogue opens the port that the list shows.
    connect(m_ui->cmbPort, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        m_session.link().port().setPortText(text);
        m_ui->cmbPort->setToolTip(portToolTip(text));
    });

    connect(m_ui->btnReadRelay, &QPushButton::clicked, this, &frmMain::btnReadRelay_Click);
    connect(m_ui->btnPgmRelay, &QPushButton::clicked, this, &frmMain::btnPgmRelay_Click);
    connect(m_ui->btnReadAll, &QPushButton::clicked, this, &frmMain::btnReadAll_Click);
    connect(m_ui->btnPgmAll, &QPushButton::clicked, this, &frmMain::btnPgmAll_Click);
    connect(m_ui->mnuReadRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = m_ui->mnuReadRelay.indexOf(action); index >= 0)
            mnuReadRelay_Click(qint16(index));
    });
    connect(m_ui->mnuProgRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = m_ui->mnuProgRelay.indexOf(action); index >= 0)
            mnuProgRelay_Click(qint16(index));
    });
    connect(m_ui->mnuReadAll, &QAction::triggered, this, &frmMain::mnuReadAll_Click);
    connect(m_ui->mnuProgAll, &QAction::triggered, this, &frmMain::mnuProgAll_Click);
    connect(m_ui->mnuEditCompare, &QAction::triggered, this, &frmMain::mnuEditCompare_Click);

    // toggled fires for a change made from code as for one by the user, and
    // not when the state stays: the check box's click as the dialogues expect it.
    connect(m_ui->chkPCControl, &QCheckBox::toggled, this, &frmMain::chkPCControl_Click);
    // Any mouse button, at the moment it goes down: the buttons' own signals
    // know only the left button and its release.
    m_ui->btnLatch->installEventFilter(this);
    m_ui->btnMoment->installEventFilter(this);

    connect(m_ui->mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(m_ui->mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(m_ui->mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(m_ui->mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(m_ui->mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Every press counts, the second of a double-click too; a disabled
    // button still sees its presses here, and runs nothing.
    const bool pressed =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (pressed && (watched == m_ui->btnLatch || watched == m_ui->btnMoment) &&
        static_cast<QWidget *>(watched)->isEnabled()) {
        // The press reaches the button too, so that it shows pressed while the
        // dialogue runs and takes its release when it comes.
        QMetaObject::invokeMethod(
            this, watched == m_ui->btnLatch ? &frmMain::btnLatch_MouseDown : &frmMain::btnMoment_MouseDown,
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::cmdRescan_Click()
{
    // A command may hold its port meanwhile: the rescan leaves it listed and
    // selected, and leaves the command's buttons as they are.
    const bool commandRuns = !m_session.isIdle();
    const QString portInUse = m_ui->cmbPort->currentText();
    if (!commandRuns)
        EnableReadProg(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList entries = m_session.link().port().rescanPorts();
    m_ui->cmbPort->clear();
    for (const QString &entry : entries) {
        m_ui->cmbPort->addItem(entry);
        m_ui->cmbPort->setItemData(m_ui->cmbPort->count() - 1, portToolTip(entry), Qt::ToolTipRole);
    }
    if (m_ui->cmbPort->count() > 0)
        m_ui->cmbPort->setCurrentIndex(0);
    if (commandRuns && entries.contains(portInUse))
        m_ui->cmbPort->setCurrentText(portInUse);
    else
        selectPreferredPort();
    QApplication::restoreOverrideCursor();
    if (!commandRuns)
        EnableReadProg(true);
}

QString frmMain::portToolTip(const QString &entry)
{
    // Which of several adapters is the Tavik shows in what the system knows of each.
    const QStringList lines = m_session.link().port().directory().descriptionLines(portNumberFromText(entry));
    return (QStringList{entry} + lines).join(u'\n');
}

void frmMain::selectPreferredPort()
{
    if (m_preferredPort.isEmpty())
        return;
    // Its number moves when the system's own ports change; the path does not.
    const QString entry =
        QStringLiteral("Com") + QString::number(m_session.link().port().directory().addRuntimePort(m_preferredPort));
    for (int i = 0; i < m_ui->cmbPort->count(); ++i) {
        const QString text = m_ui->cmbPort->itemText(i);
        if (text == entry || text.startsWith(entry + QLatin1Char(' '))) {
            m_ui->cmbPort->setCurrentIndex(i);
            return;
        }
    }
}

void frmMain::btnReadRelay_Click()
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().readShownRelay());
}

void frmMain::btnPgmRelay_Click()
{
    // Left enabled during a whole-table command: it waits its turn.
    runDeviceCommand(m_session.commands().programShownRelay());
}

void frmMain::btnReadAll_Click()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().readAll(AllEnding::SayFinished));
}

void frmMain::btnPgmAll_Click()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().programAll(AllEnding::SayFinished));
}

void frmMain::mnuReadRelay_Click(qint16 Index)
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().readRelay(Index));
}

void frmMain::mnuProgRelay_Click(qint16 Index)
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().programRelay(Index));
}

void frmMain::mnuReadAll_Click()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().readAll(AllEnding::Quiet));
}

void frmMain::mnuProgAll_Click()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().programAll(AllEnding::Quiet));
}

void frmMain::mnuEditCompare_Click()
{
    if (!lineIsFree())
        return;
    showCancel(true);
    runDeviceCommand(compareWithDevice());
}

Task<DialogueResult> frmMain::compareWithDevice()
{
    ScratchReader device(m_session.link(), *this);
    device.setPauses(m_session.dialogues().pauses());
    device.setBetweenRelays([this] { return m_session.runWaiting(); });
    Task<BulkOutcome> reading = device.readAll(AllEnding::Quiet);
    const BulkOutcome outcome = co_await reading;
    if (!outcome.succeeded())
        co_return outcome.result;
    auto *dialog = new ComparisonDialog(compareTables(m_relayTable, device.table()), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    co_return DialogueResult::Done;
}

void frmMain::chkPCControl_Click()
{
    runDeviceCommand(setPCControlCommand(m_ui->chkPCControl->checkState() == Qt::Checked));
}

Task<DialogueResult> frmMain::setPCControlCommand(bool checked)
{
    Task<LiveOutcome> command = m_session.dialogues().setPCControl(checked);
    const LiveOutcome outcome = co_await command;
    m_history.adopt(); // the device changed with the table: nothing to undo
    // After a failed dialogue box and record disagree until the relay is shown again.
    if (outcome == LiveOutcome::NotSent || outcome == LiveOutcome::Succeeded) {
        m_ui->btnMoment->setEnabled(checked);
        m_ui->btnLatch->setEnabled(checked);
    }
    co_return resultOf(outcome);
}

void frmMain::btnLatch_MouseDown()
{
    runDeviceCommand(liveInputCommand(true));
}

void frmMain::btnMoment_MouseDown()
{
    runDeviceCommand(liveInputCommand(false));
}

Task<DialogueResult> frmMain::liveInputCommand(bool latch)
{
    Task<LiveOutcome> command = latch ? m_session.dialogues().latchInput() : m_session.dialogues().pulseInput();
    const LiveOutcome outcome = co_await command;
    co_return resultOf(outcome);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_session.isIdle()) {
        // The command is cancelled, leaves the device at its menu and lets
        // go of the port; the window closes then (a hidden window would not
        // end the program).
        m_closePending = true;
        m_session.cancel();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
void frmMain::mnuFileNew_Click()
{
    // The file name stays: Save after New writes the cleared table to it.
    for (qint16 index = 0; index < RelayCount; ++index)
        m_editor.ClearRelay(index);
    setWindowTitle(TitleVersion + QStringLiteral(" [New.csv]"));
    setStatusText(QString());
}

void frmMain::mnuFileOpen_Click()
{
    const QString path = chooseFileToOpen(this);
    if (path.isEmpty())
        return;

    QString status;
    const FileResult result = openConfigFile(m_relayTable, path, status);
    setStatusText(status);
    if (result != FileResult::Ok)
        return;
    m_editor.ChangeRelayNum(qint16(m_ui->cboRelNum->currentIndex()));
    m_history.record(qint16(shownRelay()));
    setWindowTitle(TitleVersion + QStringLiteral("[") + NameFromPath(path) + QStringLiteral("]"));
    CurrentFile = path;
}

void frmMain::mnuFileSave_Click()
{
    if (CurrentFile.isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (saveConfigFile(m_relayTable, CurrentFile) == FileResult::Ok)
        setWindowTitle(TitleVersion + QStringLiteral(" [") + NameFromPath(CurrentFile) + QStringLiteral("]"));
}

void frmMain::mnuFileSaveAs_Click()
{
    const QString path = chooseFileToSave(this, QStringLiteral("Tavik Config"));
    if (path.isEmpty())
        return;
    // The name is kept even when writing then fails.
    CurrentFile = path;
    mnuFileSave_Click();
}

void frmMain::mnuFileExit_Click()
{
    close();
}
