// The Edit menu's own editing: copy and paste through the system clipboard,
// the closure-time dialog, and undo and redo.
#include "window/mainwindow.h"

#include "config/relayclipboard.h"
#include "window/mainwindowui.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>

void MainWindow::connectEditing()
{
    MainWindowUi &ui = *m_ui;
    const std::pair<QAction *, RelayPart> copies[] = {{ui.mnuEditCopyRelMode, RelayPart::RelayMode},
                                                      {ui.mnuEditCopyInMode, RelayPart::InputMode},
                                                      {ui.mnuEditCopyInMap, RelayPart::InputMap},
                                                      {ui.mnuEditCopyTime, RelayPart::ClosureTime},
                                                      {ui.mnuEditCopyConfig, RelayPart::Configuration}};
    for (const auto &[item, part] : copies)
        connect(item, &QAction::triggered, this, [this, part = part] { copy(part); });
    connect(ui.mnuEditPaste, &QAction::triggered, this, &MainWindow::paste);
    m_foreignPasteKey = new QAction(this);
    m_foreignPasteKey->setShortcut(ui.mnuEditPaste->shortcut());
    addAction(m_foreignPasteKey);
    connect(m_foreignPasteKey, &QAction::triggered, this, &MainWindow::paste);
    // Another program's clipboard is asked for its text only when it changes.
    const auto readClipboard = [this] {
        m_clipboardPasteable = RelayClipboard::parse(QGuiApplication::clipboard()->text()).has_value();
        updateEditItems();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    connect(ui.mnuChangeTimes, &QAction::triggered, this, &MainWindow::editClosureTime);

    // Undo and redo are the Edit menu's and go with it while a command holds the controls.
    connect(ui.mnuEditUndo, &QAction::triggered, this, [this] {
        if (!m_runner.holdsControls())
            m_history.stack().undo();
    });
    connect(ui.mnuEditRedo, &QAction::triggered, this, [this] {
        if (!m_runner.holdsControls())
            m_history.stack().redo();
    });
    connect(&m_history.stack(), &QUndoStack::indexChanged, this, &MainWindow::updateEditItems);
    connect(&m_editor, &RelayEditor::recordEdited, this,
            [this] { m_history.recordLater(qint16(m_editor.shownRelay())); });
    readClipboard();
}

void MainWindow::updateEditItems()
{
    const bool allowed = !m_runner.holdsControls();
    m_ui->mnuEditUndo->setEnabled(allowed && m_history.stack().canUndo());
    m_ui->mnuEditRedo->setEnabled(allowed && m_history.stack().canRedo());
    m_ui->mnuEditPaste->setEnabled(allowed && m_clipboardPasteable);
    m_foreignPasteKey->setEnabled(allowed && !m_clipboardPasteable);
}

void MainWindow::copy(RelayPart part)
{
    const int relay = m_editor.shownRelay();
    if (relay >= 0 && relay < RelayCount)
        QGuiApplication::clipboard()->setText(RelayClipboard::textOf(m_relayTable[size_t(relay)], part));
}

void MainWindow::paste()
{
    // The keys reach here even while a command holds the Edit menu.
    if (m_runner.holdsControls())
        return;
    const std::optional<RelayClip> clip = RelayClipboard::parse(QGuiApplication::clipboard()->text());
    if (!clip) {
        setStatusText(tr("The clipboard holds no relay settings to paste."));
        return;
    }
    m_editor.paste(*clip);
}

void MainWindow::editClosureTime()
{
    m_editor.closureTime().askForTime();
}
