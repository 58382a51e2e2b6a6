#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialoguesteps.h"
#include "link/task.h"

#include <functional>

class DeviceDialogues;
class DeviceSession;

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

// The user's read and program commands: any one relay, or all 16 in turn.
// The window's handlers and tavikctl call the same ones; they report through
// the session's signals.
class DeviceCommands
{
public:
    DeviceCommands(DeviceDialogues &dialogues, DeviceSession &session);

    // Runs between two relays of a whole-table command: the session's
    // commands that waited their turn.
    void setBetweenRelays(std::function<Task<void>()> betweenRelays) { m_betweenRelays = std::move(betweenRelays); }

    // Relay index; each passes on the dialogue's result.
    Task<DialogueResult> readRelay(int index);
    Task<DialogueResult> programRelay(int index);

    // All 16 relays, stopping at the first failure or a cancel.
    Task<BulkOutcome> readAll(AllEnding ending);
    Task<BulkOutcome> programAll(AllEnding ending);
    // All 16 into a table beside the session's, which hears of no value read.
    Task<BulkOutcome> readAllInto(RelayTable &into);

private:
    enum class Kind { Read, Program };
    Task<DialogueResult> runDialogue(Kind kind, int index, RelayTable *into);
    Task<BulkOutcome> wholeTable(Kind kind, AllEnding ending, RelayTable *into = nullptr);

    DeviceDialogues &m_dialogues;
    DeviceSession &m_session;
    std::function<Task<void>()> m_betweenRelays;
};
