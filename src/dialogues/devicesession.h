#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
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
//
// What the dialogues and commands come to, they say only by the session's
// signals, as data; the window and tavikctl each show it their own way.
class DeviceSession : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Running, Cancelling };
    Q_ENUM(State)
    // A value of a relay's report, as a read stores it into the session's table.
    enum class ReadField {
        RelayMode,
        InputMode,
        UnlatchInputMode,
        Input,
        UnlatchInput,
        ClosureTime,
        PCControl
    };
    Q_ENUM(ReadField)

    // The table must outlive the session: the commands read into it and
    // program from it.
    explicit DeviceSession(RelayTable &table, QObject *parent = nullptr);
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
    // What went wrong, or what a command came to, as a sentence.
    void statusChanged(const QString &text);
    // Where a command is: the relay a whole-table command is at, what a dialogue did.
    void actionChanged(const QString &text);
    // A whole-table command: relays done of total, from 0 at its start;
    // relayBegun as each relay's dialogue begins; stoppedAt the relay that
    // failed or was cancelled.
    void progress(int done, int total);
    void relayBegun(int index);
    void stoppedAt(int index);
    // The program dialogue: steps done of total, 0 again once it has ended.
    void dialogueProgress(int done, int total);
    // A read stored a value into relay index of the session's table: input is
    // the map's input for the two map fields, else -1.
    void relayValueRead(int index, DeviceSession::ReadField field, int input, int value);
    // A dialogue read relay index into the session's table, or programmed it from there.
    void relayRead(int index);
    void relayProgrammed(int index);
    // Each command, as it ends, with what it came to.
    void finished(DialogueResult result);

private:
    void begin(Task<DialogueResult> command);
    void onCommandEnded();
    void setState(State state);

    RelayTable &m_table;
    DeviceLink m_link;
    DeviceDialogues m_dialogues{m_link, m_table, *this};
    DeviceCommands m_commands{m_dialogues, *this};
    Task<DialogueResult> m_running;
    std::deque<Task<DialogueResult>> m_waiting;
    State m_state = State::Idle;
};
