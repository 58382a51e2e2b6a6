#include "dialogues/devicesession.h"

#include <QMetaObject>

DeviceSession::DeviceSession(RelayTable &table, QObject *parent) : QObject(parent), m_table(table)
{
    m_commands.setBetweenRelays([this] { return runWaiting(); });
}

DeviceSession::~DeviceSession()
{
    // The coroutines refer to the link and the dialogues: they go first.
    m_waiting.clear();
    m_running.reset();
    m_link.port().close();
}

void DeviceSession::start(Task<DialogueResult> command)
{
    if (m_running.isValid()) {
        m_waiting.push_back(std::move(command));
        return;
    }
    begin(std::move(command));
}

void DeviceSession::begin(Task<DialogueResult> command)
{
    m_link.clearCancel();
    m_running = std::move(command);
    setState(State::Running);
    // Ended from inside its own last step, the command is taken down once
    // that step has returned.
    m_running.start(
        [this] { QMetaObject::invokeMethod(this, &DeviceSession::onCommandEnded, Qt::QueuedConnection); });
}

void DeviceSession::onCommandEnded()
{
    const DialogueResult result = m_running.takeResult();
    m_running.reset();
    emit finished(result);
    if (!m_waiting.empty() && m_state == State::Running) {
        Task<DialogueResult> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        begin(std::move(next));
        return;
    }
    m_waiting.clear();
    m_link.clearCancel();
    setState(State::Idle);
}

void DeviceSession::cancel()
{
    if (m_state != State::Running)
        return;
    m_waiting.clear();
    setState(State::Cancelling);
    m_link.cancel();
}

Task<void> DeviceSession::runWaiting()
{
    while (!m_waiting.empty() && m_state == State::Running) {
        Task<DialogueResult> next = std::move(m_waiting.front());
        m_waiting.pop_front();
        const DialogueResult result = co_await next;
        emit finished(result);
    }
}

void DeviceSession::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}
