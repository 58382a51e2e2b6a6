#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "link/task.h"

#include <QObject>

#include <deque>

// Everything one port needs to talk to its device: the link, the dialogues
// over it and the read and program commands, and the one command that runs
// on it. The window, tavikctl (one per port) and the tests each own one.
//
// Commands never nest. One started while another runs waits its turn: it
// runs when the running one reaches a point between two relay dialogues of
// a whole-table command, or else when it ends. cancel() ends the running
// command at its next step; the dialogue in progress sends escape, so that
// the device is back at its menu, and lets go of the port.
//
//   Idle --start()--> Running --cancel()--> Cancelling
//     ^                  |                       |
//     +---- finished, nothing waits -------------+
class DeviceSession : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Running, Cancelling };
    Q_ENUM(State)

    // The table and the view must outlive the session; the view hears
    // everything the dialogues show, and the session's signals follow it.
    DeviceSession(RelayTable &table, DialogueView &view, QObject *parent = nullptr);
    ~DeviceSession() override;

    DeviceLink &link() { return m_link; }
    DeviceDialogues &dialogues() { return m_dialogues; }
    DeviceCommands &commands() { return m_commands; }
    RelayTable &table() { return m_table; }

    State state() const { return m_state; }
    bool isIdle() const { return m_state == State::Idle; }
    // Commands waiting their turn.
    int waitingCount() const { return int(m_waiting.size()); }

    // Runs the command now, or once the running one lets it (see above).
    void start(Task<DialogueResult> command);
    // Nothing happens when no command runs. Commands waiting their turn are
    // dropped unstarted.
    void cancel();

    // Runs the commands that wait their turn, in order; whole-table commands
    // await it between two relays.
    Task<void> runWaiting();

signals:
    void stateChanged(DeviceSession::State state);
    void statusTextChanged(const QString &text);
    void actionTextChanged(const QString &text);
    // Values may be fractional; the maximum is the view's.
    void progressChanged(double value);
    void relayRead(int index);
    void relayProgrammed(int index);
    // Each command, as it ends, with what it came to.
    void finished(DialogueResult result);

private:
    // Hands everything on to the owner's view, and tells the session's listeners.
    class SessionView : public DialogueView
    {
    public:
        SessionView(DeviceSession &session, DialogueView &owner) : m_session(session), m_owner(owner) {}

        void setStatusText(const QString &text) override;
        void setActionText(const QString &text) override;
        void setActionVisible(bool visible) override { m_owner.setActionVisible(visible); }
        double progressValue() const override { return m_owner.progressValue(); }
        double progressMaximum() const override { return m_owner.progressMaximum(); }
        void setProgressValue(double value) override;
        void enableReadProg(bool enabled) override { m_owner.enableReadProg(enabled); }
        void relayRead(int index) override;
        void relayProgrammed(int index) override;
        int shownRelay() const override { return m_owner.shownRelay(); }
        int shownRelayMode() const override { return m_owner.shownRelayMode(); }
        void showRelayMode(int relayMode) override { m_owner.showRelayMode(relayMode); }
        int shownInputMode() const override { return m_owner.shownInputMode(); }
        void showInputMode(int inputMode) override { m_owner.showInputMode(inputMode); }
        bool shownInput(int input) const override { return m_owner.shownInput(input); }
        void showInputState(int input, bool inMap) override { m_owner.showInputState(input, inMap); }
        void showClosureTime(const RelayConfig &relay) override { m_owner.showClosureTime(relay); }
        void showPCControl(bool underPCControl) override { m_owner.showPCControl(underPCControl); }

    private:
        DeviceSession &m_session;
        DialogueView &m_owner;
    };

    void begin(Task<DialogueResult> command);
    void onCommandEnded();
    void setState(State state);

    RelayTable &m_table;
    SessionView m_view;
    DeviceLink m_link;
    DeviceDialogues m_dialogues{m_link, m_table, m_view};
    DeviceCommands m_commands{m_dialogues, m_view};
    Task<DialogueResult> m_running;
    std::deque<Task<DialogueResult>> m_waiting;
    State m_state = State::Idle;
};
