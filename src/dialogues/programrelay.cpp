#include "dialogues/devicedialogues.h"

#include "base/failure.h"
#include "dialogues/devicesession.h"
#include "link/devicelink.h"

#include <QCoreApplication>

Task<DialogueResult> DeviceDialogues::programRelay(int relayIndex)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ProgramRelay"), 1,
                   QString::number(relayIndex));
        co_return DialogueResult::PortFailed;
    }
    // Sent such a value, the device would wait inside its command for good.
    if (const auto outOfRange = firstOutOfRange(m_table[size_t(relayIndex)])) {
        setStatus(QCoreApplication::translate("DeviceDialogues", "%1; the relay was not programmed.")
                                 .arg(outOfRangeNote(relayIndex + 1, *outOfRange)));
        co_return DialogueResult::OutOfRange;
    }
    PortHold hold;
    if (!holdPort(hold))
        co_return DialogueResult::PortFailed;

    // Each attempt starts from a clean line, so that answers to an abandoned
    // attempt are not taken for prompts of the next.
    RestartRule rule;
    rule.freshStart = [this] {
        setProgress(1);
        m_link.ring().clear();
    };
    DialogueResult result = DialogueResult::GaveUp; // until an attempt ends otherwise
    Task<Step> attempts = runAttempts(QStringLiteral("ProgramRelay"), rule, result,
                                      [&] { return programAttempt(relayIndex, result); });
    co_await attempts;

    releasePort(hold);
    if (result == DialogueResult::Done)
        emit m_session.relayProgrammed(relayIndex);
    co_return result;
}

Task<DeviceDialogues::Step> DeviceDialogues::answerPrompt(QByteArray prompt, std::function<int()> answer,
                                                          int step, DialogueResult &result)
{
    QByteArray text;
    Task<PromptResult> wait = m_exchange.waitForPrompt(text, prompt);
    if (Step s = afterPrompt(co_await wait, result); s != Step::Go)
        co_return s;
    Task<SendResult> send = m_exchange.sendText(QByteArray::number(answer()), true);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;
    setProgress(step);
    send = m_exchange.sendChar('\r', false);
    co_return afterSend(co_await send, result);
}

Task<DeviceDialogues::Step> DeviceDialogues::programAttempt(int relayIndex, DialogueResult &result)
{
    // Every value is taken from the record at the moment it is sent: the
    // window stays live in every wait, and an edit made meanwhile counts
    // from the next answer on. Which prompts follow the gate is decided by
    // the mode as it stands then.
    const RelayConfig &relay = m_table[size_t(relayIndex)];
    struct Answer {
        const char *prompt;
        std::function<int()> value;
        int step;
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

    Task<Step> start = startCommand(m_pauses.beforeProgram, 'p', result);
    if (Step s = co_await start; s != Step::Go)
        co_return s;
    QList<Answer> answers = common;
    bool timedAnswers = false;
    // The mode is looked at once the gate has gone out, as it stands then.
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const Answer &answer = answers.at(i);
        Task<Step> answered = answerPrompt(answer.prompt, answer.value, answer.step, result);
        if (Step s = co_await answered; s != Step::Go)
            co_return s;
        if (i == common.size() - 1) {
            if (isLatchingMode(relay.RelayMode))
                answers += latching;
            else if ((timedAnswers = isTimedMode(relay.RelayMode)))
                answers += timed;
        }
    }
    if (timedAnswers)
        setProgress(ProgramSteps);
    QByteArray text;
    Task<PromptResult> confirm = m_exchange.waitForPrompt(text, "(y/n): ");
    if (Step s = afterPrompt(co_await confirm, result); s != Step::Go)
        co_return s;
    Task<SendResult> send = m_exchange.sendText("y", true);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;

    result = DialogueResult::Done;
    emit m_session.actionChanged(QCoreApplication::translate("DeviceDialogues", "Relay programmed"));
    setProgress(0);
    co_return Step::Finished;
}
