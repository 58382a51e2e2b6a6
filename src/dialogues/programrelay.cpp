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

DeviceDialogues::Step DeviceDialogues::answerPrompt(const QByteArray &prompt,
                                                    const std::function<qint16()> &answer, float k,
                                                    DialogueResult &result)
{
    QByteArray text;
    if (Step s = afterGetString(m_exchange.GetString(text, prompt), result); s != Step::Go)
        return s;
    if (Step s = afterSendString(m_exchange.SendString(QByteArray::number(answer()), true), result);
        s != Step::Go)
        return s;
    setProgress(float(m_view.progressMaximum()) / 12.0f + k);
    return afterSendChar(m_exchange.SendChar('\r', false), result);
}

DeviceDialogues::Step DeviceDialogues::programAttempt(qint16 relayIndex, DialogueResult &result)
{
    // Every value is taken from the record at the moment it is sent: the
    // window runs events in every wait, and an edit made meanwhile counts
    // from the next answer on. Which prompts follow the gate is decided by
    // the mode as it stands then.
    const RelayConfig &relay = m_table[size_t(relayIndex)];
    struct Answer {
        const char *prompt;
        std::function<qint16()> value;
        float k;
    };
    const auto inputGroup = [&](int group) {
        return [&relay, group] { return mapGroupValue(relay.InputMap, group); };
    };
    const auto unlatchGroup = [&](int group) {
        return [&relay, group] { return mapGroupValue(relay.UnlatchMap, group); };
    };
    const QList<Answer> common = {
        {"number (1-16): ", [relayIndex] { return qint16(relayIndex + 1); }, 2},
        {"mode (1-9): ", [&relay] { return relayModeCode(relay.RelayMode); }, 3},
        {"(0-15): ", inputGroup(0), 4},
        {"(0-15): ", inputGroup(1), 4},
        {"(0-15): ", inputGroup(2), 4},
        {"mode (0-15): ", [&relay] { return inputModeCode(relay.InputMode); }, 5},
    };
    const QList<Answer> latching = {
        {"(0-15): ", unlatchGroup(0), 6},
        {"(0-15): ", unlatchGroup(1), 6},
        {"(0-15): ", unlatchGroup(2), 6},
        {"mode (0-15): ", [&relay] { return inputModeCode(relay.UnlatchInputMode); }, 7},
    };
    const QList<Answer> timed = {
        {"hours (0-45): ", [&relay] { return relay.Hours; }, 8},
        {"minutes (0-59): ", [&relay] { return relay.Minutes; }, 9},
        {"seconds (0-59): ", [&relay] { return relay.Seconds; }, 10},
        {"milliseconds (x 10) (0-99): ", [&relay] { return relay.Hundredths; }, 11},
    };
    const auto answerAll = [&](const QList<Answer> &answers) {
        for (const Answer &answer : answers) {
            if (Step s = answerPrompt(answer.prompt, answer.value, answer.k, result); s != Step::Go)
                return s;
        }
        return Step::Go;
    };

    Wait(m_pauses.beforeProgram);
    if (Step s = afterSendChar(m_exchange.SendChar('p', true), result); s != Step::Go)
        return s;
    if (Step s = answerAll(common); s != Step::Go)
        return s;
    if (isLatchingMode(relay.RelayMode)) {
        if (Step s = answerAll(latching); s != Step::Go)
            return s;
    } else if (isTimedMode(relay.RelayMode)) {
        if (Step s = answerAll(timed); s != Step::Go)
            return s;
        setProgress(float(m_view.progressMaximum()));
    }
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
