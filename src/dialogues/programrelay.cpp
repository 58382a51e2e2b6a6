#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "link/devicelink.h"
#include "link/wait.h"
#include "base/failure.h"

qint16 DeviceDialogues::ProgramRelay(qint16 relayIndex)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ProgramRelay"), 1,
                   QString::number(relayIndex));
        return 1;
    }
    qint16 result = -1;
    PortHold hold;
    if (!holdPort(hold))
        return 1;

    bool restartFlag = true;
    int restarts = 0;
    for (;;) {
        setProgress(float(m_view.progressMaximum()) / 12.0f + 1.0f);
        m_link.ring().clear();
        if (!restartFlag) {
            m_exchange.SendChar('\x1b', false);
            restartFlag = true;
            continue;
        }
        if (programAttempt(relayIndex, result) != Step::Restart)
            break;
        if (++restarts > MaxRestarts) {
            result = GaveUp;
            giveUp(QStringLiteral("ProgramRelay"));
            break;
        }
        restartFlag = false;
    }

    releasePort(hold);
    return result;
}

DeviceDialogues::Step DeviceDialogues::answerPrompt(const QByteArray &prompt, qint16 answer, float k,
                                                    qint16 &result)
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

DeviceDialogues::Step DeviceDialogues::programAttempt(qint16 relayIndex, qint16 &result)
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

    Wait(300);
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

    result = 0;
    m_view.setActionText(QStringLiteral("Relay programmed"));
    setProgress(0);
    return Step::End;
}
