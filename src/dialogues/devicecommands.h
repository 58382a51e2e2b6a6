#pragma once

#include <QtGlobal>

class DeviceDialogues;
class DialogueView;

// How a whole-table command ended: result 0 with relayIndex -1 when all 16
// went through, else the code of the first failing dialogue and its relay.
struct BulkOutcome {
    qint16 result = 0;
    int relayIndex = -1;

    bool succeeded() const { return result == 0; }
};

// The user's read and program commands: the relay shown, one relay picked
// from the Edit menu, or all 16 in turn. The window's click handlers call
// these; tavikctl calls them the same way.
class DeviceCommands
{
public:
    DeviceCommands(DeviceDialogues &dialogues, DialogueView &view);

    // The relay shown; the single-relay commands pass on the dialogue's result
    // (the window ignores it).
    qint16 btnReadRelay_Click();
    qint16 btnPgmRelay_Click();
    // The relay of the menu entry's index.
    qint16 mnuReadRelay_Click(int index);
    qint16 mnuProgRelay_Click(int index);

    // All 16 relays, stopping at the first failure.
    BulkOutcome btnReadAll_Click();
    BulkOutcome btnPgmAll_Click();
    BulkOutcome mnuReadAll_Click();
    BulkOutcome mnuProgAll_Click();

private:
    enum class Kind { Read, Program };
    qint16 runDialogue(Kind kind, int index);
    qint16 singleRelay(Kind kind, int index);
    BulkOutcome wholeTable(Kind kind, bool button);

    DeviceDialogues &m_dialogues;
    DialogueView &m_view;
};
