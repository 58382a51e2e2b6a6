#include "dialogues/devicedialogues.h"

#include "dialogues/dialogueview.h"
#include "dialogues/readparsing.h"
#include "link/devicelink.h"
#include "link/wait.h"
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

    DialogueStep await(const QByteArray &label) override
    {
        QByteArray text;
        return afterGetString(m_exchange.GetString(text, label), m_result);
    }
    DialogueStep collect(QByteArray &text, const QByteArray &start) override
    {
        text = start;
        return afterGetString(m_exchange.GetString(text, "\r"), m_result);
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

DialogueResult DeviceDialogues::ReadRelay(qint16 relayIndex, qint16 ReadMask)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ReadRelay"), 1, QString::number(relayIndex));
        return DialogueResult::PortFailed;
    }
    PortHold hold;
    if (!holdPort(hold))
        return DialogueResult::PortFailed;

    DialogueResult result = DialogueResult::GaveUp; // until an attempt ends otherwise
    runAttempts(QStringLiteral("ReadRelay"), {},
                [&] { return readAttempt(relayIndex, ReadMask, result); });

    releasePort(hold);
    return result;
}

DeviceDialogues::Step DeviceDialogues::readAttempt(qint16 relayIndex, qint16 ReadMask, DialogueResult &result)
{
    RelayConfig &relay = m_table[size_t(relayIndex)];
    QByteArray text;
    auto await = [&](const QByteArray &label) {
        text.clear();
        return afterGetString(m_exchange.GetString(text, label), result);
    };

    Wait(m_pauses.beforeRead);
    if (Step s = afterSendChar(m_exchange.SendChar('r', true), result); s != Step::Go)
        return s;
    if (Step s = await("number (1-16): "); s != Step::Go)
        return s;
    if (Step s = afterSendString(m_exchange.SendString(QByteArray::number(relayIndex + 1), true), result);
        s != Step::Go)
        return s;
    if (Step s = afterSendChar(m_exchange.SendChar('\r', false), result); s != Step::Go)
        return s;

    ExchangeReportLine line(m_exchange, result);
    EditorFollower follower(m_view, relay, [this, relayIndex] { return isShown(relayIndex); });
    if (Step s = walkReport(line, relay, ReadMask, follower); s != Step::Go)
        return s;

    result = DialogueResult::Done;
    m_view.setActionText(QStringLiteral("Relay read"));
    return Step::End;
}
