#pragma once

#include "config/relayclipboard.h"
#include "window/commandrunner.h"
#include "window/relayeditor.h"
#include "window/tablehistory.h"

#include <QObject>

struct MainWindowUi;
class QAction;
class QWidget;

// The Edit menu's own editing: copy and paste through the system clipboard,
// the closure-time dialog, undo and redo (the input map items are the
// editor's). Undo, Redo and Paste are enabled as the history, the clipboard
// and the commands that hold the controls allow.
class EditItems : public QObject
{
    Q_OBJECT
public:
    EditItems(MainWindowUi &ui, RelayEditor &editor, TableHistory &history, const CommandRunner &runner,
              QWidget *window);

    void update();

signals:
    void statusChanged(const QString &text);

private:
    void copy(RelayPart part);
    void paste();

    MainWindowUi &m_ui;
    RelayEditor &m_editor;
    TableHistory &m_history;
    const CommandRunner &m_runner;
    // Ctrl+V while the clipboard holds nothing to paste, which the disabled Paste item would not take.
    QAction *m_foreignPasteKey = nullptr;
    bool m_clipboardPasteable = false;
};
