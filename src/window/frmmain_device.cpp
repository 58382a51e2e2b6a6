// The window's device commands: the port list, read and program, the live inputs.
#include "window/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

template <typename Command> void frmMain::runDeviceCommand(Command command)
{
    // The dialogues' waits run window events, the close box included; a
    // window that went away under a running dialogue would leave it talking
    // to nothing, so the close waits for the command to end.
    ++m_deviceCommands;
    command();
    if (--m_deviceCommands == 0 && m_closePending) {
        m_closePending = false;
        close();
    }
}

void frmMain::connectDeviceHandlers()
{
    connect(cmdRescan, &QPushButton::clicked, this, &frmMain::cmdRescan_Click);
    // OpenSerPort opens the port that the list shows.
    connect(cmbPort, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        m_link.port().setPortText(text);
        cmbPort->setToolTip(text);
    });

    connect(btnReadRelay, &QPushButton::clicked, this, &frmMain::btnReadRelay_Click);
    connect(btnPgmRelay, &QPushButton::clicked, this, &frmMain::btnPgmRelay_Click);
    connect(btnReadAll, &QPushButton::clicked, this, &frmMain::btnReadAll_Click);
    connect(btnPgmAll, &QPushButton::clicked, this, &frmMain::btnPgmAll_Click);
    connect(mnuReadRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = mnuReadRelay.indexOf(action); index >= 0)
            mnuReadRelay_Click(qint16(index));
    });
    connect(mnuProgRelays, &QMenu::triggered, this, [this](QAction *action) {
        if (const qsizetype index = mnuProgRelay.indexOf(action); index >= 0)
            mnuProgRelay_Click(qint16(index));
    });
    connect(mnuReadAll, &QAction::triggered, this, &frmMain::mnuReadAll_Click);
    connect(mnuProgAll, &QAction::triggered, this, &frmMain::mnuProgAll_Click);

    // toggled fires for a change made from code as for one by the user, and
    // not when the state stays: the check box's click as the dialogues expect it.
    connect(chkPCControl, &QCheckBox::toggled, this, &frmMain::chkPCControl_Click);
    // Any mouse button, at the moment it goes down: the buttons' own signals
    // know only the left button and its release.
    btnLatch->installEventFilter(this);
    btnMoment->installEventFilter(this);

    connect(mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
}

bool frmMain::liveInputPressed(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress || (watched != btnLatch && watched != btnMoment))
        return false;
    // The press reaches the button first, so that it shows pressed while the
    // dialogue runs and takes its release when it comes.
    QMetaObject::invokeMethod(
        this, watched == btnLatch ? &frmMain::btnLatch_MouseDown : &frmMain::btnMoment_MouseDown,
        Qt::QueuedConnection);
    return true;
}

void frmMain::cmdRescan_Click()
{
    runDeviceCommand([this] {
        // Started from the wait of a running command, the rescan must leave
        // that command its port and its disabled buttons.
        const bool insideCommand = m_deviceCommands > 1;
        const QString portInUse = cmbPort->currentText();
        EnableReadProg(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        cmbPort->clear();
        // The link refuses to open the port for a dialogue while it probes.
        const QStringList entries = m_link.port().rescanPorts();
        cmbPort->addItems(entries);
        if (cmbPort->count() > 0)
            cmbPort->setCurrentIndex(0);
        if (insideCommand && entries.contains(portInUse))
            cmbPort->setCurrentText(portInUse);
        else
            selectPreferredPort();
        QApplication::restoreOverrideCursor();
        if (!insideCommand)
            EnableReadProg(true);
    });
}

void frmMain::selectPreferredPort()
{
    if (m_preferredPort.isEmpty())
        return;
    // Its number moves when the system's own ports change; the path does not.
    const QString entry =
        QStringLiteral("Com") + QString::number(m_link.port().directory().addRuntimePort(m_preferredPort));
    for (int i = 0; i < cmbPort->count(); ++i) {
        const QString text = cmbPort->itemText(i);
        if (text == entry || text.startsWith(entry + QLatin1Char(' '))) {
            cmbPort->setCurrentIndex(i);
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

void frmMain::chkPCControl_Click()
{
    runDeviceCommand([this] {
        const bool checked = chkPCControl->checkState() == Qt::Checked;
        const LiveOutcome outcome = m_dialogues.setPCControl(checked);
        // After a failed dialogue box and record disagree until the relay is shown again.
        if (outcome == LiveOutcome::NotSent || outcome == LiveOutcome::Succeeded) {
            btnMoment->setEnabled(checked);
            btnLatch->setEnabled(checked);
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
