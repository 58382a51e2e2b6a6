#pragma once

#include "config/relayconfig.h"

#include <QObject>
#include <QUndoStack>

#include <functional>

// The relay table's undo history. A step holds the whole table before and
// after one change the user made: an edit, a clear, a paste, or a read or a
// file over the whole table. Undo and redo put a table back and show the
// relay it concerns; they never talk to the device. Which input set a
// Latching relay shows is the editor's state, not part of a step.
class TableHistory : public QObject
{
    Q_OBJECT
public:
    // showRelay shows a relay in the editor, redrawn from the table.
    TableHistory(RelayTable &table, std::function<void(qint16)> showRelay);

    QUndoStack &stack() { return m_stack; }

    // Records a step when the table differs from the last one recorded;
    // shownRelay is shown again when a step changed several relays.
    void record(qint16 shownRelay);
    // While held (a device command runs), nothing is recorded; the last
    // release records what the command changed as one step.
    void hold();
    void release(qint16 shownRelay);
    // Takes the table as it stands without a step: changes that a live
    // command made on the device as well.
    void adopt();

private:
    // One step on the stack; it puts its table back through restore.
    class Step;
    void restore(const RelayTable &table, qint16 relay);

    RelayTable &m_table;
    RelayTable m_recorded;
    std::function<void(qint16)> m_showRelay;
    QUndoStack m_stack;
    int m_holds = 0;
};
