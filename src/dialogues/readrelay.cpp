#include "dialogues/devicedialogues.h"

#include "base/failure.h"
#include "dialogues/devicesession.h"
#include "dialogues/readparsing.h"
#include "link/devicelink.h"

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

// Tells the session's listeners of each value as it is stored, so that an
// editor can follow; a read into a table beside the session's tells nothing.
class ToldFollower : public ReportFollower
{
public:
    ToldFollower(DeviceSession *session, int relayIndex) : m_session(session), m_relayIndex(relayIndex) {}

    void relayModeRead(qint16 relayMode) override { tell(Field::RelayMode, -1, relayMode); }
    void gateRead(qint16 gate, bool unlatchSide) override
    {
        tell(unlatchSide ? Field::UnlatchInputMode : Field::InputMode, -1, gate);
    }
    void inputRead(int input, bool inMap, bool unlatchSide) override
    {
        tell(unlatchSide ? Field::UnlatchInput : Field::Input, input, inMap);
    }
    void closureTimeRead(const RelayConfig &relay) override { tell(Field::ClosureTime, -1, relay.Counter); }
    void pcControlRead(bool controlled) override { tell(Field::PCControl, -1, controlled); }

private:
    using Field = DeviceSession::ReadField;
    void tell(Field field, int input, int value)
    {
        if (m_session)
            emit m_session->relayValueRead(m_relayIndex, field, input, value);
    }

    DeviceSession *m_session;
    int m_relayIndex;
};

} // namespace

Task<DialogueResult> DeviceDialogues::readRelay(int relayIndex, RelayTable *into)
{
    if (relayIndex < 0 || relayIndex >= RelayCount) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ReadRelay"), 1, QString::number(relayIndex));
        co_return DialogueResult::PortFailed;
    }
    PortHold hold;
    if (!holdPort(hold))
        co_return DialogueResult::PortFailed;

    DialogueResult result = DialogueResult::GaveUp; // until an attempt ends otherwise
    const bool told = into == nullptr;
    RelayConfig &relay = (told ? m_table : *into)[size_t(relayIndex)];
    Task<Step> attempts = runAttempts(QStringLiteral("ReadRelay"), {}, result,
                                      [&] { return readAttempt(relayIndex, relay, told, result); });
    co_await attempts;

    releasePort(hold);
    if (result == DialogueResult::Done && told)
        emit m_session.relayRead(relayIndex);
    co_return result;
}

Task<DeviceDialogues::Step> DeviceDialogues::readAttempt(int relayIndex, RelayConfig &relay, bool told,
                                                         DialogueResult &result)
{
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
    ToldFollower follower(told ? &m_session : nullptr, relayIndex);
    Task<Step> report = walkReport(line, relay, -1, follower);
    if (Step s = co_await report; s != Step::Go)
        co_return s;

    result = DialogueResult::Done;
    emit m_session.actionChanged(QCoreApplication::translate("DeviceDialogues", "Relay read"));
    co_return Step::Finished;
}
