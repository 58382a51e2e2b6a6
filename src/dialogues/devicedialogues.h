#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialoguesteps.h"
#include "link/promptexchange.h"

#include <QString>

#include <functional>

class DeviceLink;
class DialogueView;

// What a live command ("c", "l", "m") came to. The window enables its latch
// and momentary buttons from the PC-Control box after NotSent and Succeeded.
enum class LiveOutcome {
    PortFailed, // OpenSerPort failed: nothing else happens
    NotSent,    // the condition did not hold; the port was opened and closed
    Succeeded,
    Failed,
};

// The pauses before a read's and a program's first character, in
// milliseconds. The device needs them; tests that sweep the line cut them.
struct DialoguePauses {
    double beforeRead = 50;
    double beforeProgram = 300;
};

// The device's menu dialogues: read a relay, program a relay, and the live
// PC-control, latch and momentary commands. Each opens the port when it is
// closed and closes it again at its end; a port found open stays open.
//
// The window and tavikctl each own one, over their DeviceLink, their relay
// table and their DialogueView; they must outlive it.
class DeviceDialogues
{
public:
    // A device that keeps answering wrongly restarts a dialogue at most this often.
    static constexpr int MaxRestarts = 8;
    static inline const QString GaveUpText =
        QStringLiteral("Tavik keeps answering unexpectedly; gave up after 8 retries.");
    static inline const QString ConnectionLostText =
        QStringLiteral("The connection to Tavik was lost. Please check the cable and the COM port.");
    // %1: the port's own reason, such as "no serial server answers at HOST:PORT".
    static inline const QString ServerUnreachableText =
        QStringLiteral("Could not communicate with Tavik: %1. Please check the address and the serial server.");

    DeviceDialogues(DeviceLink &link, RelayTable &table, DialogueView &view);

    void setPauses(const DialoguePauses &pauses) { m_pauses = pauses; }
    const DialoguePauses &pauses() const { return m_pauses; }

    // Reads relay index (0-15) into its record.
    DialogueResult ReadRelay(qint16 relayIndex, qint16 ReadMask = -1);

    // Programs relay index from its record.
    DialogueResult ProgramRelay(qint16 relayIndex);

    // The live commands for the relay shown. setPCControl gets the state asked
    // for and stores PCControl when the device took the command; latchInput
    // and pulseInput send "l" and "m" while the relay is under PC control.
    LiveOutcome setPCControl(bool checked);
    LiveOutcome latchInput();
    LiveOutcome pulseInput();

    PromptExchange &exchange() { return m_exchange; }

private:
    using Step = DialogueStep;

    // How a dialogue begins its attempts. Every restart is preceded by the
    // escape character, which brings the device's menu back to its start,
    // and by a wait for the line to fall quiet after it.
    struct RestartRule {
        // The live commands send escape before their first attempt too.
        bool escapeFirst = false;
        // Run before every attempt and before every escape: the program
        // dialogue puts its progress back and empties the receive ring.
        std::function<void()> freshStart;
    };
    // Runs attempts until one ends or goes through; after MaxRestarts
    // restarts it sends escape, gives up, says so in the status box, logs it
    // under procedure and returns Restart.
    Step runAttempts(const QString &procedure, const RestartRule &rule, const std::function<Step()> &attempt);

    Step readAttempt(qint16 relayIndex, qint16 ReadMask, DialogueResult &result);
    Step programAttempt(qint16 relayIndex, DialogueResult &result);
    Step answerPrompt(const QByteArray &prompt, const std::function<qint16()> &answer, float k,
                      DialogueResult &result);
    enum class LiveCondition { PCControlDiffers, UnderPCControl };
    LiveOutcome liveCommand(char command, LiveCondition condition, bool checked, const QString &procedure);
    Step liveExchange(char command);

    bool isShown(qint16 relayIndex) const;
    void setProgress(float value);
    // One dialogue's hold on the port: opened when it was closed, and at the
    // end closed again only by the dialogue that opened it.
    struct PortHold {
        bool openedHere = false;
        bool lostBefore = false;
    };
    // False when OpenSerPort failed: the dialogue then sends nothing.
    bool holdPort(PortHold &hold);
    // Says so when the line went away during the dialogue, and lets the port go.
    void releasePort(const PortHold &hold);

    DeviceLink &m_link;
    RelayTable &m_table;
    DialogueView &m_view;
    PromptExchange m_exchange;
    DialoguePauses m_pauses;
};
