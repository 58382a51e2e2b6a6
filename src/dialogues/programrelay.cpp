#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "link/wait.h"
#include "base/failure.h"

DialogueResult DeviceDialogues::ProgramRelay(qint16 relayIndex)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ProgramRelay"), 1,
                   QString::number(relayIndex));
        return DialogueResult::PortFailed;
    }
    PortHold hold;
    if (!holdPort(hold))
        return DialogueResult::PortFailed;

    // Each attempt starts from a clean line, so that answers to an abandoned
    // attempt are not taken for prompts of the next.
    RestartRule rule;
    rule.freshStart = [this] {
        setProgress(float(m_view.progressMaximum()) / 12.0f + 1.0f);
        m_link.ring().clear();
    };
    DialogueResult result = DialogueResult::GaveUp; // until an attempt ends otherwise
    runAttempts(QStringLiteral("ProgramRelay"), rule, [&] { return programAttempt(relayIndex, result); });

    releasePort(hold);
    return result;
}

DeviceDialogues::Step DeviceDialogues::answerPrompt(const QByteArray &prompt, qint16 answer, float k,
                                                    DialogueResult &result)
{
    QByteArray text;
    if (Step s = afterGetString(m_exchange.GetString(text, prompt), result); s != Step::Go)
        return s;
    if (Step s = afterSendString(m_exchange.SendString(QByteArray::number(answer), true), result);
        s != Step::Go)
        return s;
    setProgress(float(m_view.progressMaximum()) / 12.0f + k);
    return afterSendChar(m_exchange.SendChar('\r', false), result);
}

DeviceDialogues::Step DeviceDialogues::programAttempt(qint16 relayIndex, DialogueResult &result)
{
    const RelayConfig &relay = m_table[size_t(relayIndex)];
    struct Answer {
        const char *prompt;
        qint16 value;
        float k;
    };
    QList<Answer> answers = {
        {"number (1-16): ", qint16(relayIndex + 1), 2},
        {"mode (1-9): ", relayModeCode(relay.RelayMode), 3},
        {"(0-15): ", mapGroupValue(relay.InputMap, 0), 4},
        {"(0-15): ", mapGroupValue(relay.InputMap, 1), 4},
        {"(0-15): ", mapGroupValue(relay.InputMap, 2), 4},
        {"mode (0-15): ", inputModeCode(relay.InputMode), 5},
    };
    const bool timed = isTimedMode(relay.RelayMode);
    if (isLatchingMode(relay.RelayMode)) {
        answers += {
            {"(0-15): ", mapGroupValue(relay.UnlatchMap, 0), 6},
            {"(0-15): ", mapGroupValue(relay.UnlatchMap, 1), 6},
            {"(0-15): ", mapGroupValue(relay.UnlatchMap, 2), 6},
            {"mode (0-15): ", inputModeCode(relay.UnlatchInputMode), 7},
        };
    } else if (timed) {
        answers += {
            {"hours (0-45): ", relay.Hours, 8},
            {"minutes (0-59): ", relay.Minutes, 9},
            {"seconds (0-59): ", relay.Seconds, 10},
            {"milliseconds (x 10) (0-99): ", relay.Hundredths, 11},
        };
    }

    Wait(m_pauses.beforeProgram);
    if (Step s = afterSendChar(m_exchange.SendChar('p', true), result); s != Step::Go)
        return s;
    for (const Answer &answer : answers) {
        if (Step s = answerPrompt(answer.prompt, answer.value, answer.k, result); s != Step::Go)
            return s;
    }
    if (timed)
        setProgress(float(m_view.progressMaximum()));

    QByteArray text;
    if (Step s = afterGetString(m_exchange.GetString(text, "(y/n): "), result); s != Step::Go)
        return s;
    if (Step s = afterSendString(m_exchange.SendString("y", true), result); s != Step::Go)
        return s;

    result = DialogueResult::Done;
    m_view.setActionText(QStringLiteral("Relay programmed"));
    setProgress(0);
    return Step::End;
}
