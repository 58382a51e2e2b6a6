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
        int restarts = 0;
        for (;;) {
            // Every dialogue that sends anything begins at the menu's start.
            m_exchange.SendChar('\x1b', false);
            if (condition == LiveCondition::UnderPCControl && !holds())
                break;
            const Step step = liveExchange(command);
            if (step == Step::Go) {
                outcome = LiveOutcome::Succeeded;
                break;
            }
            if (step == Step::End) {
                outcome = LiveOutcome::Failed;
                break;
            }
            if (++restarts > MaxRestarts) {
                giveUp(procedure);
                outcome = LiveOutcome::Failed;
                break;
            }
        }
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
    qint16 unused = -1;
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
