#include "dialogues/devicedialogues.h"

#include "link/devicelink.h"
#include "base/failure.h"

Task<LiveOutcome> DeviceDialogues::setPCControl(int relayIndex, bool checked)
{
    return liveCommand('c', relayIndex, LiveCondition::PCControlDiffers, checked,
                       QStringLiteral("setPCControl"));
}

Task<LiveOutcome> DeviceDialogues::latchInput(int relayIndex)
{
    return liveCommand('l', relayIndex, LiveCondition::UnderPCControl, false, QStringLiteral("latchInput"));
}

Task<LiveOutcome> DeviceDialogues::pulseInput(int relayIndex)
{
    return liveCommand('m', relayIndex, LiveCondition::UnderPCControl, false, QStringLiteral("pulseInput"));
}

Task<LiveOutcome> DeviceDialogues::liveCommand(char command, int relayIndex, LiveCondition condition,
                                               bool checked, QString procedure)
{
    PortHold hold;
    if (!holdPort(hold))
        co_return LiveOutcome::PortFailed;

    // The record is looked at as it stands at the moment of each check.
    auto holds = [&] {
        if (relayIndex < 0 || relayIndex >= RelayCount) {
            logFailure(Failure::SubscriptOutOfRange, procedure, 2, QString::number(relayIndex));
            return false;
        }
        const bool underPCControl = m_table[size_t(relayIndex)].PCControl;
        return condition == LiveCondition::PCControlDiffers ? checked != underPCControl : underPCControl;
    };

    LiveOutcome outcome = LiveOutcome::NotSent;
    if (holds()) {
        // Latch and momentary look again after each escape: the relay may
        // have left PC control while the dialogue waited.
        bool sent = true;
        DialogueResult result = DialogueResult::Done;
        RestartRule rule;
        rule.escapeFirst = true;
        Task<Step> attempts = runAttempts(procedure, rule, result, [&]() -> Task<Step> {
            if (condition == LiveCondition::UnderPCControl && !holds()) {
                sent = false;
                return doneAttempt();
            }
            return liveExchange(command, relayIndex, result);
        });
        const Step step = co_await attempts;
        if (result == DialogueResult::Cancelled)
            outcome = LiveOutcome::Cancelled;
        else if (sent)
            outcome = step == Step::Finished ? LiveOutcome::Succeeded : LiveOutcome::Failed;
    }

    if (command == 'c' && outcome == LiveOutcome::Succeeded)
        m_table[size_t(relayIndex)].PCControl = checked;

    releasePort(hold);
    co_return outcome;
}

Task<DeviceDialogues::Step> DeviceDialogues::doneAttempt()
{
    co_return Step::Finished;
}

Task<DeviceDialogues::Step> DeviceDialogues::liveExchange(char command, int relayIndex,
                                                          DialogueResult &result)
{
    Task<SendResult> send = m_exchange.sendChar(command, true);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;
    QByteArray text;
    Task<PromptResult> prompt = m_exchange.waitForPrompt(text, "number (1-16): ");
    if (Step s = afterPrompt(co_await prompt, result); s != Step::Go)
        co_return s;
    send = m_exchange.sendText(QByteArray::number(relayIndex + 1), true);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;
    send = m_exchange.sendChar('\r', false);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;
    co_return Step::Finished;
}
