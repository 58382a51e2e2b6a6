#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "dialogues/readparsing.h"
#include "link/devicelink.h"
#include "base/failure.h"

#include <functional>

namespace
{

// The report comes through the prompt exchange, with its results turned
// into the dialogue's codes.
class ExchangeReportLine : public ReportLine
{
public:
    ExchangeReportLine(PromptExchange &exchange, DialogueResult &result)
        : m_exchange(exchange), m_result(result)
    {
    }

    Task<DialogueStep> awaitLabel(const char *label) override
    {
        QByteArray text;
        Task<PromptResult> wait = m_exchange.waitForPrompt(text, label);
        co_return afterPrompt(co_await wait, m_result);
    }
    Task<DialogueStep> collect(QByteArray &text, const char *start) override
    {
        text = start;
        Task<PromptResult> wait = m_exchange.waitForPrompt(text, "\r");
        co_return afterPrompt(co_await wait, m_result);
    }

private:
    PromptExchange &m_exchange;
    DialogueResult &m_result;
};

// The editor follows the relay only while it shows it, and shows the
// latching or the unlatching side as the record says.
class EditorFollower : public ReportFollower
{
public:
    EditorFollower(DialogueView &view, const RelayConfig &relay, std::function<bool()> shown)
        : m_view(view), m_relay(relay), m_shown(std::move(shown))
    {
    }

    void relayModeRead(qint16 relayMode) override
    {
        if (m_shown() && relayMode != m_view.shownRelayMode())
            m_view.showRelayMode(relayMode);
    }
    void gateRead(qint16 gate, bool unlatchSide) override
    {
        if (showsSide(unlatchSide) && gate != m_view.shownInputMode())
            m_view.showInputMode(gate);
    }
    void inputRead(int input, bool inMap, bool unlatchSide) override
    {
        if (showsSide(unlatchSide) && m_view.shownInput(input) != inMap)
            m_view.showInputState(input, inMap);
    }
    void closureTimeRead(const RelayConfig &relay) override
    {
        if (m_shown())
            m_view.showClosureTime(relay);
    }
    void pcControlRead(bool controlled) override
    {
        if (m_shown())
            m_view.showPCControl(controlled);
    }

private:
    bool showsSide(bool unlatchSide) const { return m_shown() && m_relay.ShowUnlatch == unlatchSide; }

    DialogueView &m_view;
    const RelayConfig &m_relay;
    std::function<bool()> m_shown;
};

} // namespace

Task<DialogueResult> DeviceDialogues::readRelay(int relayIndex, qint16 ReadMask)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ReadRelay"), 1, QString::number(relayIndex));
        co_return DialogueResult::PortFailed;
    }
    PortHold hold;
    if (!holdPort(hold))
        co_return DialogueResult::PortFailed;

    DialogueResult result = DialogueResult::GaveUp; // until an attempt ends otherwise
    Task<Step> attempts = runAttempts(QStringLiteral("ReadRelay"), {}, result,
                                      [&] { return readAttempt(relayIndex, ReadMask, result); });
    co_await attempts;

    releasePort(hold);
    if (result == DialogueResult::Done)
        m_view.relayRead(relayIndex);
    co_return result;
}

Task<DeviceDialogues::Step> DeviceDialogues::readAttempt(int relayIndex, qint16 ReadMask, DialogueResult &result)
{
    RelayConfig &relay = m_table[size_t(relayIndex)];
    QByteArray text;

    Task<Step> start = startCommand(m_pauses.beforeRead, 'r', result);
    if (Step s = co_await start; s != Step::Go)
        co_return s;
    Task<PromptResult> prompt = m_exchange.waitForPrompt(text, "number (1-16): ");
    if (Step s = afterPrompt(co_await prompt, result); s != Step::Go)
        co_return s;
    Task<SendResult> send = m_exchange.sendText(QByteArray::number(relayIndex + 1), true);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;
    send = m_exchange.sendChar('\r', false);
    if (Step s = afterSend(co_await send, result); s != Step::Go)
        co_return s;

    ExchangeReportLine line(m_exchange, result);
    EditorFollower follower(m_view, relay, [this, relayIndex] { return isShown(qint16(relayIndex)); });
    Task<Step> report = walkReport(line, relay, ReadMask, follower);
    if (Step s = co_await report; s != Step::Go)
        co_return s;

    result = DialogueResult::Done;
    m_view.setActionText(QCoreApplication::translate("DeviceDialogues", "Relay read"));
    co_return Step::Finished;
}
