#include "dialogues/devicedialogues.h"

#include "base/failure.h"
#include "dialogues/devicesession.h"
#include "link/devicelink.h"

#include <QCoreApplication>

#include <utility>

DeviceDialogues::DeviceDialogues(DeviceLink &link, RelayTable &table, DeviceSession &session)
    : m_link(link), m_table(table), m_session(session), m_exchange(link)
{
    m_exchange.setStatusSink([this](const QString &text) { setStatus(text); });
}

void DeviceDialogues::setStatus(const QString &text)
{
    emit m_session.statusChanged(text);
}

void DeviceDialogues::setProgress(int step)
{
    emit m_session.dialogueProgress(step, ProgramSteps);
}

Task<DeviceDialogues::Step> DeviceDialogues::runAttempts(QString procedure, RestartRule rule,
                                                         DialogueResult &result,
                                                         std::function<Task<Step>()> attempt)
{
    bool escapeFirst = rule.escapeFirst;
    // A device that an earlier run left inside a command gets one more
    // attempt, after escape; one found at its menu hears nothing extra.
    bool mayRetryFromMenu = m_link.menuInDoubt() && !rule.escapeFirst;
    for (int restarts = 0;;) {
        if (escapeFirst) {
            if (rule.freshStart)
                rule.freshStart();
            Task<SendResult> escape = m_exchange.sendChar('\x1b', false);
            co_await escape;
            // Part of what the device says to escape may still be on its
            // way; taken for the echo of the command character, it would
            // restart the attempt about to begin.
            Task<bool> quiet = m_exchange.letLineFallQuiet();
            if (!co_await quiet) {
                setStatus(QCoreApplication::translate(
                    "DeviceDialogues",
                    "The line never fell quiet: characters kept coming that Tavik was not "
                    "asked for. The port may belong to another device; please check the COM port."));
                logFailure(Failure::LineNeverQuiet, procedure, 3,
                           QString::number(m_link.clock().timeoutTicks() + 1) + QStringLiteral(" ticks"));
                result = DialogueResult::LineNeverQuiet;
                m_link.setMenuInDoubt(true);
                co_return Step::Abandoned;
            }
        }
        if (rule.freshStart)
            rule.freshStart();
        const quint64 writtenBefore = m_exchange.charactersWritten();
        const quint64 promptsBefore = m_exchange.promptsSeen();
        Task<Step> attempting = attempt();
        const Step step = co_await attempting;
        if (step == Step::Finished) {
            m_link.setMenuInDoubt(false);
            co_return step;
        }
        if (!m_link.cancelled()) {
            if (step == Step::Restart && restarts < MaxRestarts) {
                ++restarts;
                escapeFirst = true;
                continue;
            }
            const bool commandSent = m_exchange.charactersWritten() != writtenBefore;
            const bool deviceNeverAnswered = m_exchange.promptsSeen() == promptsBefore;
            if (step == Step::Abandoned && std::exchange(mayRetryFromMenu, false) && commandSent
                && deviceNeverAnswered && result == DialogueResult::TimedOut && !m_link.port().lineLost()) {
                escapeFirst = true;
                continue;
            }
            if (step == Step::Abandoned && !commandSent)
                co_return step;
        }
        // Cancelled, given up or abandoned inside a command: escape takes
        // the device back to its menu before the port is let go, so that the
        // next dialogue, or the next run, finds it there. A lost line takes
        // nothing; the next dialogue on it starts in doubt.
        if (m_link.port().lineLost()) {
            m_link.setMenuInDoubt(true);
            co_return step;
        }
        Task<SendResult> escape = m_exchange.sendChar('\x1b', false);
        co_await escape;
        // A device that did not answer in time may not have heard escape either.
        m_link.setMenuInDoubt(!m_link.cancelled() && result == DialogueResult::TimedOut);
        if (step == Step::Restart && !m_link.cancelled()) {
            setStatus(gaveUpText());
            logFailure(Failure::DeviceGaveUp, procedure, 2,
                       QString::number(MaxRestarts) + QStringLiteral(" restarts"));
        }
        co_return step;
    }
}

Task<DeviceDialogues::Step> DeviceDialogues::startCommand(double pauseMilliseconds, char command,
                                                          DialogueResult &result)
{
    Task<bool> pause = m_exchange.pause(pauseMilliseconds);
    if (!co_await pause) {
        result = DialogueResult::Cancelled;
        co_return Step::Abandoned;
    }
    Task<SendResult> send = m_exchange.sendChar(command, true);
    co_return afterSend(co_await send, result);
}

bool DeviceDialogues::holdPort(PortHold &hold)
{
    const DevicePort::OpenResult opened = m_link.port().open();
    if (opened == DevicePort::OpenResult::Refused) {
        // Waiting out the timeout would only send the user to the cables.
        setStatus(m_link.port().openRefusal());
        return false;
    }
    hold.openedHere = opened == DevicePort::OpenResult::Opened;
    hold.lostBefore = m_link.port().lineLost();
    return true;
}

void DeviceDialogues::releasePort(const PortHold &hold)
{
    if (m_link.port().lineLost() && !hold.lostBefore) {
        const QString reason = m_link.port().lossReason();
        setStatus(reason.isEmpty() ? connectionLostText() : serverUnreachableText().arg(reason));
    }
    if (hold.openedHere)
        m_link.port().close();
}

void DeviceDialogues::holdPortOpen()
{
    // Probed first, so that a port that does not open is logged once, by the
    // dialogue that then fails on it.
    DevicePort &port = m_link.port();
    if (!port.isOpen() && port.isAvailable(port.portNumberInUse()))
        port.open();
}

void DeviceDialogues::releaseHeldPort()
{
    m_link.port().close();
}
