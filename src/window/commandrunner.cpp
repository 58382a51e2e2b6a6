#include "window/commandrunner.h"

CommandRunner::CommandRunner(DeviceSession &session, QObject *parent) : QObject(parent), m_session(session)
{
    // A command dropped or taken down unfinished holds nothing once the session is idle.
    connect(&session, &DeviceSession::stateChanged, this, [this](DeviceSession::State state) {
        if (state == DeviceSession::State::Idle && m_holding > 0)
            hold(-m_holding);
    });
}

void CommandRunner::run(Task<DialogueResult> command, Controls controls)
{
    m_session.start(controls == Controls::Held ? holding(std::move(command)) : std::move(command));
}

Task<DialogueResult> CommandRunner::holding(Task<DialogueResult> command)
{
    hold(1);
    const DialogueResult result = co_await command;
    hold(-1);
    co_return result;
}

void CommandRunner::hold(int change)
{
    const bool before = holdsControls();
    m_holding += change;
    if (holdsControls() != before)
        emit controlsHeld(holdsControls());
}
