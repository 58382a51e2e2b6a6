#pragma once

#include "dialogues/dialoguesteps.h"
#include "link/task.h"

#include <functional>

class DeviceDialogues;
class DialogueView;

// How a whole-table command ended: Done with relayIndex -1 when all 16
// went through, else the result of the first failing (or cancelled)
// dialogue and its relay.
struct BulkOutcome {
    DialogueResult result = DialogueResult::Done;
    int relayIndex = -1;

    bool succeeded() const { return result == DialogueResult::Done; }
    bool cancelled() const { return result == DialogueResult::Cancelled; }
    // How many relays went through, from relay 1 on.
    int relaysDone(int relayCount) const { return succeeded() ? relayCount : relayIndex; }
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

    // Runs between two relays of a whole-table command: the session's
    // commands that waited their turn.
    void setBetweenRelays(std::function<Task<void>()> betweenRelays) { m_betweenRelays = std::move(betweenRelays); }

    // The relay shown, or relay index; each passes on the dialogue's result.
    // Programming the relay shown is the one command that leaves the controls
    // enabled while it runs.
    Task<DialogueResult> readShownRelay();
    Task<DialogueResult> programShownRelay();
    Task<DialogueResult> readRelay(int index);
    Task<DialogueResult> programRelay(int index);

    // All 16 relays, stopping at the first failure or a cancel.
    Task<BulkOutcome> readAll(AllEnding ending);
    Task<BulkOutcome> programAll(AllEnding ending);

private:
    enum class Kind { Read, Program };
    Task<DialogueResult> runDialogue(Kind kind, int index);
    Task<DialogueResult> singleRelay(Kind kind, int index);
    Task<BulkOutcome> wholeTable(Kind kind, AllEnding ending);

    DeviceDialogues &m_dialogues;
    DialogueView &m_view;
    std::function<Task<void>()> m_betweenRelays;
};
