#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
#include "dialogues/dialogueview.h"

// Reads the device's relays into a table of its own, so that what the device
// holds can be set beside the user's table without touching it. The status
// text, the action label, the progress and the read/program enabling go to
// the owner's view as for any read; the editor is never told anything.
class ScratchReader
{
public:
    ScratchReader(DeviceLink &link, DialogueView &ownerView);

    void setPauses(const DialoguePauses &pauses) { m_dialogues.setPauses(pauses); }

    Task<DialogueResult> readRelay(int index) { return m_commands.readRelay(index); }
    Task<BulkOutcome> readAll(AllEnding ending) { return m_commands.readAll(ending); }
    // As the owner's own commands: what waits its turn runs between two relays.
    void setBetweenRelays(std::function<Task<void>()> betweenRelays)
    {
        m_commands.setBetweenRelays(std::move(betweenRelays));
    }

    const RelayTable &table() const { return m_table; }

private:
    // Everything but the editor reaches the owner's view.
    class PassOnView : public EditorlessView
    {
    public:
        explicit PassOnView(DialogueView &owner) : m_owner(owner) {}

        void setStatusText(const QString &text) override { m_owner.setStatusText(text); }
        void setActionText(const QString &text) override { m_owner.setActionText(text); }
        void setActionVisible(bool visible) override { m_owner.setActionVisible(visible); }
        double progressValue() const override { return m_owner.progressValue(); }
        double progressMaximum() const override { return m_owner.progressMaximum(); }
        void setProgressValue(double value) override { m_owner.setProgressValue(value); }
        void enableReadProg(bool enabled) override { m_owner.enableReadProg(enabled); }

    private:
        DialogueView &m_owner;
    };

    RelayTable m_table{};
    PassOnView m_view;
    DeviceDialogues m_dialogues;
    DeviceCommands m_commands{m_dialogues, m_view};
};
