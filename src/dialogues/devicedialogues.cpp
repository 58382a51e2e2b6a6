#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "base/failure.h"

#include <QCoreApplication>

DeviceDialogues::DeviceDialogues(DeviceLink &link, RelayTable &table, DialogueView &view)
    : m_link(link), m_table(table), m_view(view), m_exchange(link)
{
    m_exchange.setStatusSink([this](const QString &text) { m_view.setStatusText(text); });
}

bool DeviceDialogues::isShown(qint16 relayIndex) const
{
    return m_view.shownRelay() == relayIndex;
}

void DeviceDialogues::setProgress(float value)
{
    m_view.setProgressValue(double(value));
}

Task<DeviceDialogues::Step> DeviceDialogues::runAttempts(QString procedure, RestartRule rule,
                                                         DialogueResult &result,
                                                         std::function<Task<Step>()> attempt)
{
    for (int restarts = 0;; ++restarts) {
        // A dialogue that ended halfway (the line lost, the device silent)
        // may have left the device inside a command: the next one takes it
        // back to its menu first, or every later dialogue would fail too.
        if (restarts > 0 || rule.escapeFirst || m_menuUncertain) {
            if (rule.freshStart)
                rule.freshStart();
            Task<SendResult> escape = m_exchange.sendChar('\x1b', false);
            co_await escape;
            // Part of what the device says to escape may still be on its
            // way; taken for the echo of the command character, it would
            // restart the attempt about to begin.
            Task<bool> quiet = m_exchange.letLineFallQuiet();
            if (!co_await quiet) {
                m_view.setStatusText(QCoreApplication::translate(
                    "DeviceDialogues",
                    "The line never fell quiet: characters kept coming that Tavik was not "
                    "asked for. The port may belong to another device; please check the COM port."));
                logFailure(Failure::LineNeverQuiet, procedure, 3,
                           QString::number(m_link.clock().timeoutTicks() + 1) + QStringLiteral(" ticks"));
                result = DialogueResult::LineNeverQuiet;
                co_return Step::End;
            }
        }
        if (rule.freshStart)
            rule.freshStart();
        Task<Step> attempting = attempt();
        const Step step = co_await attempting;
        if (m_link.cancelled()) {
            // Whatever the device was asked last, escape takes it back to
            // its menu before the port is let go.
            Task<SendResult> escape = m_exchange.sendChar('\x1b', false);
            co_await escape;
            m_menuUncertain = false;
            co_return step;
        }
        if (step != Step::Restart) {
            m_menuUncertain = step == Step::End;
            co_return step;
        }
        if (restarts == MaxRestarts) {
            // The device is left at its menu, not inside the abandoned
            // command, so that the next dialogue finds it where it expects.
            Task<SendResult> escape = m_exchange.sendChar('\x1b', false);
            co_await escape;
            m_menuUncertain = false;
            m_view.setStatusText(gaveUpText());
            logFailure(Failure::DeviceGaveUp, procedure, 2,
                       QString::number(MaxRestarts) + QStringLiteral(" restarts"));
            co_return Step::Restart;
        }
    }
}

Task<DeviceDialogues::Step> DeviceDialogues::startCommand(double pauseMilliseconds, char command,
                                                          DialogueResult &result)
{
    Task<bool> pause = m_exchange.pause(pauseMilliseconds);
    if (!co_await pause) {
        result = DialogueResult::Cancelled;
        co_return Step::End;
    }
    Task<SendResult> send = m_exchange.sendChar(command, true);
    co_return afterSend(co_await send, result);
}

bool DeviceDialogues::holdPort(PortHold &hold)
{
    const DevicePort::OpenResult opened = m_link.port().open();
    if (opened == DevicePort::OpenResult::Refused) {
        // Waiting out the timeout would only send the user to the cables.
        m_view.setStatusText(m_link.port().openRefusal());
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
        m_view.setStatusText(reason.isEmpty() ? connectionLostText() : serverUnreachableText().arg(reason));
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
