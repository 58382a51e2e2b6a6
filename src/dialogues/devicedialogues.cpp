#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "base/failure.h"

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

DeviceDialogues::Step DeviceDialogues::runAttempts(const QString &procedure, const RestartRule &rule,
                                                   const std::function<Step()> &attempt)
{
    for (int restarts = 0;; ++restarts) {
        if (restarts > 0 || rule.escapeFirst) {
            if (rule.freshStart)
                rule.freshStart();
            m_exchange.SendChar('\x1b', false);
            // Part of what the device says to escape may still be on its
            // way; taken for the echo of the command character, it would
            // restart the attempt about to begin.
            m_exchange.letLineFallQuiet();
        }
        if (rule.freshStart)
            rule.freshStart();
        const Step step = attempt();
        if (step != Step::Restart)
            return step;
        if (restarts == MaxRestarts) {
            // The device is left at its menu, not inside the abandoned
            // command, so that the next dialogue finds it where it expects.
            m_exchange.SendChar('\x1b', false);
            m_view.setStatusText(GaveUpText);
            logFailure(Failure::DeviceGaveUp, procedure, 2,
                       QString::number(MaxRestarts) + QStringLiteral(" restarts"));
            return Step::Restart;
        }
    }
}

bool DeviceDialogues::holdPort(PortHold &hold)
{
    const qint16 opened = m_link.port().OpenSerPort();
    if (opened < 0)
        return false;
    hold.openedHere = opened == 1;
    hold.lostBefore = m_link.port().lineLost();
    return true;
}

void DeviceDialogues::releasePort(const PortHold &hold)
{
    if (m_link.port().lineLost() && !hold.lostBefore) {
        const QString reason = m_link.port().lossReason();
        m_view.setStatusText(reason.isEmpty() ? ConnectionLostText : ServerUnreachableText.arg(reason));
    }
    if (hold.openedHere)
        m_link.port().CloseSerPort();
}
