#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialoguesteps.h"
#include "link/promptexchange.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class DeviceLink;
class DeviceSession;

// What a live command ("c", "l", "m") came to. The window enables its latch
// and momentary buttons from the PC-Control box after NotSent and Succeeded.
enum class LiveOutcome {
    PortFailed, // the port did not open: nothing else happens
    NotSent,    // the condition did not hold; the port was opened and closed
    Succeeded,
    Failed,
    Cancelled, // the device was sent back to its menu
};

// The pauses before a read's and a program's first character, in
// milliseconds. The device needs them; tests that sweep the line cut them.
struct DialoguePauses {
    double beforeRead = 50;
    double beforeProgram = 300;
};

// The device's menu dialogues: read a relay, program a relay, and the live
// PC-control, latch and momentary commands. Each opens the port when it is
// closed and closes it again at its end; a port found open stays open. Each
// is a Task: it runs in steps on the event loop, one dialogue at a time per
// link (DeviceSession sees to that).
//
// Each session owns one, over its link and its relay table, and reports
// through the session's signals.
class DeviceDialogues
{
    Q_DECLARE_TR_FUNCTIONS(DeviceDialogues)

public:
    // A device that keeps answering wrongly restarts a dialogue at most this often.
    static constexpr int MaxRestarts = 8;
    static QString gaveUpText() { return tr("Tavik keeps answering unexpectedly; gave up after 8 retries."); }
    static QString connectionLostText()
    {
        return tr("The connection to Tavik was lost. Please check the cable and the COM port.");
    }
    // %1: the port's own reason, such as "no serial server answers at HOST:PORT".
    static QString serverUnreachableText()
    {
        return tr("Could not communicate with Tavik: %1. Please check the address and the serial server.");
    }

    DeviceDialogues(DeviceLink &link, RelayTable &table, DeviceSession &session);

    void setPauses(const DialoguePauses &pauses) { m_pauses = pauses; }
    const DialoguePauses &pauses() const { return m_pauses; }

    // Reads relay index (0-15) into its record: the session's table's,
    // value by value told, or the one of into, a table beside it, untold.
    Task<DialogueResult> readRelay(int relayIndex, RelayTable *into = nullptr);

    // Programs relay index from its record.
    Task<DialogueResult> programRelay(int relayIndex);

    // The live commands for relay index. setPCControl gets the state asked
    // for and stores PCControl when the device took the command; latchInput
    // and pulseInput send "l" and "m" while the relay is under PC control.
    Task<LiveOutcome> setPCControl(int relayIndex, bool checked);
    Task<LiveOutcome> latchInput(int relayIndex);
    Task<LiveOutcome> pulseInput(int relayIndex);

    // Holds the port open from now until releaseHeldPort(), so that a command
    // of many dialogues does not open and close it for each. A port that
    // cannot be opened is left closed, for the first dialogue to fail on.
    void holdPortOpen();
    void releaseHeldPort();

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
    // Runs attempts until one finishes or is abandoned. A wrong answer
    // restarts, after escape and a quiet line, at most MaxRestarts times;
    // then it gives up, says so in the status box, logs it under procedure
    // and returns Restart. An attempt abandoned inside a command (and a
    // cancel, and giving up) sends escape before it returns, so that the
    // device is left at its menu, unless the line is lost. A device the link
    // is in doubt about gets one more attempt, after escape, when its command
    // character or first prompt does not come. A line that does not fall
    // quiet after escape ends it all at once with LineNeverQuiet in result:
    // restarting cannot help while another device talks on the line.
    Task<Step> runAttempts(QString procedure, RestartRule rule, DialogueResult &result,
                           std::function<Task<Step>()> attempt);

    // The pause the device needs, then the command character, echoed.
    Task<Step> startCommand(double pauseMilliseconds, char command, DialogueResult &result);
    Task<Step> readAttempt(int relayIndex, RelayConfig &relay, bool told, DialogueResult &result);
    Task<Step> programAttempt(int relayIndex, DialogueResult &result);
    Task<Step> answerPrompt(QByteArray prompt, std::function<int()> answer, int step, DialogueResult &result);
    enum class LiveCondition { PCControlDiffers, UnderPCControl };
    Task<LiveOutcome> liveCommand(char command, int relayIndex, LiveCondition condition, bool checked,
                                  QString procedure);
    Task<Step> liveExchange(char command, int relayIndex, DialogueResult &result);
    static Task<Step> doneAttempt();

    // The program dialogue's steps: the command, each answer's, and the
    // last; a time's fills them all.
    static constexpr int ProgramSteps = 12;
    void setProgress(int step);
    void setStatus(const QString &text);
    // One dialogue's hold on the port: opened when it was closed, and at the
    // end closed again only by the dialogue that opened it.
    struct PortHold {
        bool openedHere = false;
        bool lostBefore = false;
    };
    // False when the port did not open: the dialogue then sends nothing.
    bool holdPort(PortHold &hold);
    // Says so when the line went away during the dialogue, and lets the port go.
    void releasePort(const PortHold &hold);

    DeviceLink &m_link;
    RelayTable &m_table;
    DeviceSession &m_session;
    PromptExchange m_exchange;
    DialoguePauses m_pauses;
};
