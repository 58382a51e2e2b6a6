#pragma once

#include "dialogues/dialoguesteps.h"

class DeviceDialogues;
class DialogueView;

// How a whole-table command ended: Done with relayIndex -1 when all 16
// went through, else the result of the first failing dialogue and its relay.
struct BulkOutcome {
    DialogueResult result = DialogueResult::Done;
    int relayIndex = -1;

    bool succeeded() const { return result == DialogueResult::Done; }
};

// Whether a whole-table command says "Finished reading all" (or programming)
// when it ends: the buttons do, the menu items and tavikctl do not.
enum class AllEnding { SayFinished, Quiet };

// The user's read and program commands: the relay shown, any one relay, or
// all 16 in turn. The window's handlers and tavikctl call the same ones.
class DeviceCommands
{
public:
    DeviceCommands(DeviceDialogues &dialogues, DialogueView &view);

    // The relay shown, or relay index; each passes on the dialogue's result.
    // Programming the relay shown is the one command that leaves the controls
    // enabled while it runs.
    DialogueResult readShownRelay();
    DialogueResult programShownRelay();
    DialogueResult readRelay(int index);
    DialogueResult programRelay(int index);

    // All 16 relays, stopping at the first failure.
    BulkOutcome readAll(AllEnding ending);
    BulkOutcome programAll(AllEnding ending);

private:
    enum class Kind { Read, Program };
    DialogueResult runDialogue(Kind kind, int index);
    DialogueResult singleRelay(Kind kind, int index);
    BulkOutcome wholeTable(Kind kind, AllEnding ending);

    DeviceDialogues &m_dialogues;
    DialogueView &m_view;
};
