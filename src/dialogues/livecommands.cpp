#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "base/failure.h"

LiveOutcome DeviceDialogues::setPCControl(bool checked)
{
    return liveCommand('c', LiveCondition::PCControlDiffers, checked, QStringLiteral("setPCControl"));
}

LiveOutcome DeviceDialogues::latchInput()
{
    return liveCommand('l', LiveCondition::UnderPCControl, false, QStringLiteral("latchInput"));
}

LiveOutcome DeviceDialogues::pulseInput()
{
    return liveCommand('m', LiveCondition::UnderPCControl, false, QStringLiteral("pulseInput"));
}

LiveOutcome DeviceDialogues::liveCommand(char command, LiveCondition condition, bool checked,
                                         const QString &procedure)
{
    PortHold hold;
    if (!holdPort(hold))
        return LiveOutcome::PortFailed;

    // The relay acted on is the one shown at the moment of each check.
    auto holds = [&] {
        const int shown = m_view.shownRelay();
        if (shown < 0 || shown >= RelayCount) {
            logFailure(Failure::SubscriptOutOfRange, procedure, 2, QString::number(shown));
            return false;
        }
        const bool underPCControl = m_table[size_t(shown)].PCControl;
        return condition == LiveCondition::PCControlDiffers ? checked != underPCControl : underPCControl;
    };

    LiveOutcome outcome = LiveOutcome::NotSent;
    if (holds()) {
        // Latch and momentary look again after each escape: the relay shown
        // may have changed while the dialogue waited.
        bool sent = true;
        RestartRule rule;
        rule.escapeFirst = true;
        const Step step = runAttempts(procedure, rule, [&] {
            if (condition == LiveCondition::UnderPCControl && !holds()) {
                sent = false;
                return Step::End;
            }
            return liveExchange(command);
        });
        if (sent)
            outcome = step == Step::Go ? LiveOutcome::Succeeded : LiveOutcome::Failed;
    }

    if (command == 'c' && outcome == LiveOutcome::Succeeded) {
        const int shown = m_view.shownRelay();
        if (shown >= 0 && shown < RelayCount)
            m_table[size_t(shown)].PCControl = checked;
    }

    releasePort(hold);
    return outcome;
}

DeviceDialogues::Step DeviceDialogues::liveExchange(char command)
{
    DialogueResult unused = DialogueResult::Done;
    if (Step s = afterSendChar(m_exchange.SendChar(command, true), unused); s != Step::Go)
        return s;
    QByteArray text;
    if (Step s = afterGetString(m_exchange.GetString(text, "number (1-16): "), unused); s != Step::Go)
        return s;
    const QByteArray relayNumber = QByteArray::number(m_view.shownRelay() + 1);
    if (Step s = afterSendString(m_exchange.SendString(relayNumber, true), unused); s != Step::Go)
        return s;
    return afterSendChar(m_exchange.SendChar('\r', false), unused);
}
