#pragma once

#include "dialogues/devicesession.h"

#include <QObject>

// Runs the window's device commands in its session and knows whether one
// that holds the controls runs: the read and program buttons and the Edit
// menu (Undo, Redo and Paste with it) are the user's only while none does.
// Program Relay and the live inputs leave them free, and wait their turn.
class CommandRunner : public QObject
{
    Q_OBJECT
public:
    enum class Controls { Held, Free };

    explicit CommandRunner(DeviceSession &session, QObject *parent = nullptr);

    void run(Task<DialogueResult> command, Controls controls);
    bool holdsControls() const { return m_holding > 0; }

signals:
    void controlsHeld(bool held);

private:
    // Holds the controls from the moment the session starts the command, not
    // while it waits its turn, until it ends.
    Task<DialogueResult> holding(Task<DialogueResult> command);
    void hold(int change);

    DeviceSession &m_session;
    int m_holding = 0;
};
