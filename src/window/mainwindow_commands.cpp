// The window's commands: the port list, read and program, the live inputs,
// and the File menu.
#include "window/mainwindow.h"

#include "base/titleversion.h"
#include "config/relaycomparison.h"
#include "config/tavikfile.h"
#include "window/comparisondialog.h"
#include "window/filechoice.h"
#include "window/mainwindowui.h"
#include "window/recordprinting.h"

#include <QAction>
#include <QApplication>
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

void MainWindow::runDeviceCommand(Task<DialogueResult> command, CommandRunner::Controls controls)
{
    m_runner.run(std::move(command), controls);
}

void MainWindow::runBulkCommand(Task<BulkOutcome> command)
{
    showCancel(true);
    runDeviceCommand(resultOf(std::move(command)));
}

void MainWindow::showCancel(bool shown)
{
    // The bar makes room for the button beside it.
    QProgressBar *bar = m_ui->prbProgress;
    bar->resize(shown ? m_ui->btnCancel->x() - bar->x() - 4 : m_ui->btnCancel->geometry().right() - bar->x() + 1,
                bar->height());
    m_ui->btnCancel->setVisible(shown);
    m_ui->btnCancel->setEnabled(shown);
    m_cancelKey->setEnabled(shown);
}

bool MainWindow::lineIsFree()
{
    if (m_session.isIdle())
        return true;
    setStatusText(tr("Tavik is busy with another command; wait for it to end or cancel it."));
    return false;
}

void MainWindow::onSessionStateChanged(DeviceSession::State state)
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
        m_history.release(qint16(m_editor.shownRelay()));
        if (m_closePending) {
            m_closePending = false;
            close();
        }
        break;
    }
}

void MainWindow::connectCommands()
{
    connect(&m_session, &DeviceSession::stateChanged, this, &MainWindow::onSessionStateChanged);
    connect(m_ui->btnCancel, &QPushButton::clicked, &m_session, &DeviceSession::cancel);
    // Esc anywhere in the window, while the Cancel button shows.
    // Enabled only then, so that Esc keeps its meaning in the time boxes.
    m_cancelKey = new QAction(this);
    m_cancelKey->setShortcut(Qt::Key_Escape);
    m_cancelKey->setShortcutContext(Qt::WindowShortcut);
    m_cancelKey->setEnabled(false);
    addAction(m_cancelKey);
    connect(m_cancelKey, &QAction::triggered, &m_session, &DeviceSession::cancel);

    connect(m_ui->btnReadRelay, &QPushButton::clicked, this, &MainWindow::onReadRelayClicked);
    connect(m_ui->btnPgmRelay, &QPushButton::clicked, this, &MainWindow::onProgramRelayClicked);
    connect(m_ui->btnReadAll, &QPushButton::clicked, this, &MainWindow::onReadAllClicked);
    connect(m_ui->btnPgmAll, &QPushButton::clicked, this, &MainWindow::onProgramAllClicked);
    connect(m_ui->mnuReadRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = m_ui->mnuReadRelay.indexOf(action); index >= 0)
            onReadRelayChosen(qint16(index));
    });
    connect(m_ui->mnuProgRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = m_ui->mnuProgRelay.indexOf(action); index >= 0)
            onProgramRelayChosen(qint16(index));
    });
    connect(m_ui->mnuReadAll, &QAction::triggered, this, &MainWindow::onReadAllChosen);
    connect(m_ui->mnuProgAll, &QAction::triggered, this, &MainWindow::onProgramAllChosen);
    connect(m_ui->mnuEditCompare, &QAction::triggered, this, &MainWindow::onCompareChosen);

    // The check box's click as the dialogues expect it: for a change made by
    // the program too, never when the state stays. A live button's press
    // runs its command before the button's release comes.
    connect(&m_editor, &RelayEditor::pcControlToggled, this, &MainWindow::onPCControlToggled);
    connect(&m_editor, &RelayEditor::latchInputPressed, this, &MainWindow::onLatchInputPressed,
            Qt::QueuedConnection);
    connect(&m_editor, &RelayEditor::momentaryInputPressed, this, &MainWindow::onMomentaryInputPressed,
            Qt::QueuedConnection);

    connect(m_ui->mnuFileNew, &QAction::triggered, this, &MainWindow::newFile);
    connect(m_ui->mnuFileOpen, &QAction::triggered, this, &MainWindow::openFile);
    connect(m_ui->mnuFileSave, &QAction::triggered, this, &MainWindow::saveFile);
    connect(m_ui->mnuFileSaveAs, &QAction::triggered, this, &MainWindow::saveFileAs);
    connect(m_ui->mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connectRecord();
}

void MainWindow::onReadRelayClicked()
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().readRelay(m_editor.shownRelay()));
}

void MainWindow::onProgramRelayClicked()
{
    // Left enabled during a whole-table command: it waits its turn.
    runDeviceCommand(m_session.commands().programRelay(m_editor.shownRelay()), CommandRunner::Controls::Free);
}

void MainWindow::onReadAllClicked()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().readAll(AllEnding::SayFinished));
}

void MainWindow::onProgramAllClicked()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().programAll(AllEnding::SayFinished));
}

void MainWindow::onReadRelayChosen(qint16 relay)
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().readRelay(relay));
}

void MainWindow::onProgramRelayChosen(qint16 relay)
{
    if (lineIsFree())
        runDeviceCommand(m_session.commands().programRelay(relay));
}

void MainWindow::onReadAllChosen()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().readAll(AllEnding::Quiet));
}

void MainWindow::onProgramAllChosen()
{
    if (lineIsFree())
        runBulkCommand(m_session.commands().programAll(AllEnding::Quiet));
}

void MainWindow::onCompareChosen()
{
    if (!lineIsFree())
        return;
    showCancel(true);
    runDeviceCommand(compareWithDevice());
}

Task<DialogueResult> MainWindow::compareWithDevice()
{
    RelayTable device{};
    Task<BulkOutcome> reading = m_session.commands().readAllInto(device);
    const BulkOutcome outcome = co_await reading;
    if (!outcome.succeeded())
        co_return outcome.result;
    auto *dialog = new ComparisonDialog(compareTables(m_relayTable, device), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ComparisonDialog::programRequested, this, &MainWindow::onProgramDifferingChosen);
    dialog->open();
    co_return DialogueResult::Done;
}

void MainWindow::onProgramDifferingChosen(const QList<int> &relays)
{
    if (!lineIsFree())
        return;
    showCancel(true);
    runDeviceCommand(programRelays(relays));
}

Task<DialogueResult> MainWindow::programRelays(QList<int> relays)
{
    for (const int number : relays) {
        Task<DialogueResult> programming = m_session.commands().programRelay(number - 1);
        if (const DialogueResult result = co_await programming; result != DialogueResult::Done)
            co_return result;
    }
    co_return DialogueResult::Done;
}

void MainWindow::onPCControlToggled(bool underPCControl)
{
    runDeviceCommand(setPCControlCommand(underPCControl), CommandRunner::Controls::Free);
}

Task<DialogueResult> MainWindow::setPCControlCommand(bool checked)
{
    // The relay shown when the command's turn comes.
    Task<LiveOutcome> command = m_session.dialogues().setPCControl(m_editor.shownRelay(), checked);
    const LiveOutcome outcome = co_await command;
    m_history.adopt(); // the device changed with the table: nothing to undo
    // After a failed dialogue box and record disagree until the relay is shown again.
    if (outcome == LiveOutcome::NotSent || outcome == LiveOutcome::Succeeded) {
        m_editor.enableLiveInputs(checked);
    }
    co_return resultOf(outcome);
}

void MainWindow::onLatchInputPressed()
{
    runDeviceCommand(liveInputCommand(true), CommandRunner::Controls::Free);
}

void MainWindow::onMomentaryInputPressed()
{
    runDeviceCommand(liveInputCommand(false), CommandRunner::Controls::Free);
}

Task<DialogueResult> MainWindow::liveInputCommand(bool latch)
{
    const int shown = m_editor.shownRelay();
    Task<LiveOutcome> command =
        latch ? m_session.dialogues().latchInput(shown) : m_session.dialogues().pulseInput(shown);
    const LiveOutcome outcome = co_await command;
    co_return resultOf(outcome);
}

void MainWindow::closeEvent(QCloseEvent *event)
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

void MainWindow::connectRecord()
{
    const auto say = [this](const QString &text) { setStatusText(text); };
    connect(m_ui->mnuFilePrint, &QAction::triggered, this,
            [this, say] { printRecord(this, m_relayTable, m_currentFile, say); });
    connect(m_ui->mnuFileExportPdf, &QAction::triggered, this,
            [this, say] { exportRecordPdf(this, m_relayTable, m_currentFile, say); });
    connect(m_ui->mnuHelpAbout, &QAction::triggered, this, [this] { showAbout(this); });
}

void MainWindow::newFile()
{
    // The file name stays: Save after New writes the cleared table to it.
    m_editor.clearAll();
    setWindowTitle(TitleVersion + QStringLiteral(" [New.csv]"));
    setStatusText(QString());
}

void MainWindow::openFile()
{
    const QString path = chooseFileToOpen(this);
    if (path.isEmpty())
        return;

    QString status;
    const FileResult result = openConfigFile(m_relayTable, path, status);
    // Values the device does not take are loaded as they stand, and named.
    for (const QString &note : result == FileResult::Ok ? outOfRangeNotes(m_relayTable) : QStringList())
        status += note + QStringLiteral("\r\n");
    setStatusText(status);
    if (result != FileResult::Ok)
        return;
    m_editor.showRelay(qint16(m_editor.shownRelay()));
    m_history.record(qint16(m_editor.shownRelay()));
    setWindowTitle(TitleVersion + QStringLiteral("[") + NameFromPath(path) + QStringLiteral("]"));
    m_currentFile = path;
}

void MainWindow::saveFile()
{
    if (m_currentFile.isEmpty()) {
        saveFileAs();
        return;
    }
    QString problem;
    if (saveConfigFile(m_relayTable, m_currentFile, &problem) == FileResult::Ok)
        setWindowTitle(TitleVersion + QStringLiteral(" [") + NameFromPath(m_currentFile) + QStringLiteral("]"));
    else
        setStatusText(problem + u'.');
}

void MainWindow::saveFileAs()
{
    const QString path = chooseFileToSave(this, tr("Tavik Config"));
    if (path.isEmpty())
        return;
    // The name is kept even when writing then fails.
    m_currentFile = path;
    saveFile();
}
