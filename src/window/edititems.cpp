// The Edit menu's own editing: copy and paste through the system clipboard,
// the closure-time dialog, and undo and redo.
#include "window/edititems.h"

#include "config/relayclipboard.h"
#include "window/mainwindowui.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>

EditItems::EditItems(MainWindowUi &ui, RelayEditor &editor, TableHistory &history,
                     const CommandRunner &runner, QWidget *window)
    : QObject(window), m_ui(ui), m_editor(editor), m_history(history), m_runner(runner)
{
    const std::pair<QAction *, RelayPart> copies[] = {{ui.mnuEditCopyRelMode, RelayPart::RelayMode},
                                                      {ui.mnuEditCopyInMode, RelayPart::InputMode},
                                                      {ui.mnuEditCopyInMap, RelayPart::InputMap},
                                                      {ui.mnuEditCopyTime, RelayPart::ClosureTime},
                                                      {ui.mnuEditCopyConfig, RelayPart::Configuration}};
    for (const auto &[item, part] : copies)
        connect(item, &QAction::triggered, this, [this, part = part] { copy(part); });
    connect(ui.mnuEditPaste, &QAction::triggered, this, &EditItems::paste);
    m_foreignPasteKey = new QAction(this);
    m_foreignPasteKey->setShortcut(ui.mnuEditPaste->shortcut());
    window->addAction(m_foreignPasteKey);
    connect(m_foreignPasteKey, &QAction::triggered, this, &EditItems::paste);
    // Another program's clipboard is asked for its text only when it changes.
    const auto readClipboard = [this] {
        m_clipboardPasteable = RelayClipboard::parse(QGuiApplication::clipboard()->text()).has_value();
        update();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, readClipboard);
    connect(ui.mnuChangeTimes, &QAction::triggered, this, [this] { m_editor.closureTime().askForTime(); });

    // Undo and redo are the Edit menu's and go with it while a command holds the controls.
    connect(ui.mnuEditUndo, &QAction::triggered, this, [this] {
        if (!m_runner.holdsControls())
            m_history.stack().undo();
    });
    connect(ui.mnuEditRedo, &QAction::triggered, this, [this] {
        if (!m_runner.holdsControls())
            m_history.stack().redo();
    });
    connect(&m_history.stack(), &QUndoStack::indexChanged, this, &EditItems::update);
    connect(&m_editor, &RelayEditor::recordEdited, this,
            [this] { m_history.record(qint16(m_editor.shownRelay())); });
    readClipboard();
}

void EditItems::update()
{
    const bool allowed = !m_runner.holdsControls();
    m_ui.mnuEditUndo->setEnabled(allowed && m_history.stack().canUndo());
    m_ui.mnuEditRedo->setEnabled(allowed && m_history.stack().canRedo());
    m_ui.mnuEditPaste->setEnabled(allowed && m_clipboardPasteable);
    m_foreignPasteKey->setEnabled(allowed && !m_clipboardPasteable);
}

void EditItems::copy(RelayPart part)
{
    const int relay = m_editor.shownRelay();
    if (relay >= 0 && relay < RelayCount)
        QGuiApplication::clipboard()->setText(RelayClipboard::textOf(m_editor.table()[size_t(relay)], part));
}

void EditItems::paste()
{
    // The keys reach here even while a command holds the Edit menu.
    if (m_runner.holdsControls())
        return;
    const std::optional<RelayClip> clip = RelayClipboard::parse(QGuiApplication::clipboard()->text());
    if (!clip) {
        emit statusChanged(
            QCoreApplication::translate("MainWindow", "The clipboard holds no relay settings to paste."));
        return;
    }
    m_editor.paste(*clip);
}
