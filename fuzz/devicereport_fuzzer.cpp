// Any bytes as what the device says after the relay number, walked by the
// read dialogue's own code, restarts included.
#include "fuzzentry.h"
#include "reporttext.h"

#include <cstdlib>

#include "dialogues/devicedialogues.h"

namespace
{

// Every value the walk hands on must be one the editor can show.
class CheckingFollower : public ReportFollower
{
public:
    void relayModeRead(qint16 relayMode) override
    {
        if (relayMode < 0 || relayMode >= RelayModeCount)
            fuzzFailed("relay mode outside the list");
        m_relayMode = relayMode;
    }
    void gateRead(qint16 gate, bool unlatchSide) override
    {
        if (gate < 0 || gate >= InputModeCount)
            fuzzFailed("gate outside the list");
        if (unlatchSide && m_relayMode != LatchingMode)
            fuzzFailed("an unlatch gate was read for a relay that does not latch");
    }
    void inputRead(int input, bool, bool unlatchSide) override
    {
        if (input < 0 || input >= InputCount)
            fuzzFailed("input outside 0-11");
        if (unlatchSide && m_relayMode != LatchingMode)
            fuzzFailed("an unlatch map was read for a relay that does not latch");
    }
    void closureTimeRead(const RelayConfig &relay) override
    {
        counterRead = true;
        RelayConfig back = relay;
        TimeToCounter(back);
        if (back.Counter != relay.Counter)
            fuzzFailed("closure time does not add up to the counter");
    }
    void pcControlRead(bool) override {}

    bool counterRead = false;

private:
    qint16 m_relayMode = -1;
};

// A record full of values no report can give, to see what the walk touched.
RelayConfig untouched()
{
    RelayConfig relay;
    relay.RelayMode = -7;
    relay.InputMode = -7;
    relay.UnlatchInputMode = -7;
    relay.Counter = -7;
    CounterToTime(relay);
    return relay;
}

// The report is held whole, so the walk never has to wait: it has ended
// once started.
DialogueStep walkCompletely(Task<DialogueStep> walk)
{
    walk.start();
    if (!walk.isDone())
        std::abort();
    return walk.takeResult();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray report(reinterpret_cast<const char *>(data), qsizetype(size));
    ReportText line(report);
    CheckingFollower follower;
    RelayConfig relay = untouched();

    DialogueStep step = DialogueStep::Restart;
    for (int attempt = 0; attempt <= DeviceDialogues::MaxRestarts && step == DialogueStep::Restart; ++attempt)
        step = walkCompletely(walkReport(line, relay, -1, follower));

    if (step == DialogueStep::Abandoned && line.result() != DialogueResult::TimedOut)
        fuzzFailed("a report that runs out must end as a timeout");
    if (step == DialogueStep::Go) {
        // A whole report stores every field the walk passes.
        if (relay.RelayMode < 0 || relay.InputMode < 0 || !follower.counterRead)
            fuzzFailed("a whole report left a field unread");
        if (relay.RelayMode == LatchingMode && relay.UnlatchInputMode < 0)
            fuzzFailed("a whole Latching report left the unlatch gate unread");
    }
    return 0;
}
