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
#include <QPushButton>

template <typename Command> void frmMain::runDeviceCommand(Command command)
{
    // The dialogues' waits run window events, the close box included; a
    // window that went away under a running dialogue would leave it talking
    // to nothing, so the close waits for the command to end.
    ++m_deviceCommands;
    m_history.hold(); // what the command changes is one step
    command();
    m_history.release(qint16(shownRelay()));
    if (--m_deviceCommands == 0 && m_closePending) {
        m_closePending = false;
        close();
    }
}

void frmMain::connectCommands()
{
    connect(m_ui->cmdRescan, &QPushButton::clicked, this, &frmMain::cmdRescan_Click);
    // OpenSerPort opens the port that the list shows.
    connect(m_ui->cmbPort, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        m_link.port().setPortText(text);
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
    // The button stays enabled through its own rescan, whose event runs may
    // bring a second click: that one leaves the list to the first.
    if (m_link.port().rescanBusy())
        return;
    runDeviceCommand([this] {
        // Started from the wait of a running command, the rescan must leave
        // that command its port and its disabled buttons.
        const bool insideCommand = m_deviceCommands > 1;
        const QString portInUse = m_ui->cmbPort->currentText();
        EnableReadProg(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_ui->cmbPort->clear();
        // The link refuses to open the port for a dialogue while it probes.
        const QStringList entries = m_link.port().rescanPorts([this](const QString &entry) {
            m_ui->cmbPort->addItem(entry);
            m_ui->cmbPort->setItemData(m_ui->cmbPort->count() - 1, portToolTip(entry), Qt::ToolTipRole);
        });
        if (m_ui->cmbPort->count() > 0)
            m_ui->cmbPort->setCurrentIndex(0);
        if (insideCommand && entries.contains(portInUse))
            m_ui->cmbPort->setCurrentText(portInUse);
        else
            selectPreferredPort();
        QApplication::restoreOverrideCursor();
        if (!insideCommand)
            EnableReadProg(true);
    });
}

QString frmMain::portToolTip(const QString &entry)
{
    // Which of several adapters is the Tavik shows in what the system knows of each.
    const QStringList lines = m_link.port().directory().descriptionLines(portNumberFromText(entry));
    return (QStringList{entry} + lines).join(u'\n');
}

void frmMain::selectPreferredPort()
{
    if (m_preferredPort.isEmpty())
        return;
    // Its number moves when the system's own ports change; the path does not.
    const QString entry =
        QStringLiteral("Com") + QString::number(m_link.port().directory().addRuntimePort(m_preferredPort));
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
    runDeviceCommand([this] { m_commands.readShownRelay(); });
}

void frmMain::btnPgmRelay_Click()
{
    runDeviceCommand([this] { m_commands.programShownRelay(); });
}

void frmMain::btnReadAll_Click()
{
    runDeviceCommand([this] { m_commands.readAll(AllEnding::SayFinished); });
}

void frmMain::btnPgmAll_Click()
{
    runDeviceCommand([this] { m_commands.programAll(AllEnding::SayFinished); });
}

void frmMain::mnuReadRelay_Click(qint16 Index)
{
    runDeviceCommand([this, Index] { m_commands.readRelay(Index); });
}

void frmMain::mnuProgRelay_Click(qint16 Index)
{
    runDeviceCommand([this, Index] { m_commands.programRelay(Index); });
}

void frmMain::mnuReadAll_Click()
{
    runDeviceCommand([this] { m_commands.readAll(AllEnding::Quiet); });
}

void frmMain::mnuProgAll_Click()
{
    runDeviceCommand([this] { m_commands.programAll(AllEnding::Quiet); });
}

void frmMain::mnuEditCompare_Click()
{
    runDeviceCommand([this] {
        ScratchReader device(m_link, *this);
        device.setPauses(m_dialogues.pauses());
        if (!device.readAll(AllEnding::Quiet).succeeded())
            return;
        auto *dialog = new ComparisonDialog(compareTables(m_relayTable, device.table()), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

void frmMain::chkPCControl_Click()
{
    runDeviceCommand([this] {
        const bool checked = m_ui->chkPCControl->checkState() == Qt::Checked;
        const LiveOutcome outcome = m_dialogues.setPCControl(checked);
        m_history.adopt(); // the device changed with the table: nothing to undo
        // After a failed dialogue box and record disagree until the relay is shown again.
        if (outcome == LiveOutcome::NotSent || outcome == LiveOutcome::Succeeded) {
            m_ui->btnMoment->setEnabled(checked);
            m_ui->btnLatch->setEnabled(checked);
        }
    });
}

void frmMain::btnLatch_MouseDown()
{
    runDeviceCommand([this] { m_dialogues.latchInput(); });
}

void frmMain::btnMoment_MouseDown()
{
    runDeviceCommand([this] { m_dialogues.pulseInput(); });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_deviceCommands > 0) {
        // The command ends at its next step once its port is gone; the window
        // closes then (a hidden window would not end the program).
        m_closePending = true;
        if (m_link.port().isOpen())
            m_link.port().CloseSerPort();
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
    // A dialogue that is still running then fails at its next step and ends;
    // the window closes once it has.
    if (m_link.port().isOpen())
        m_link.port().CloseSerPort();
    close();
}
