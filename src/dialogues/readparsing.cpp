#include "dialogues/readparsing.h"

#include "base/failure.h"

namespace
{

enum ReadMaskBit : qint16 {
    RelayModeBit = 1,
    InputModeBit = 2,
    InputMapBit = 4,
    CounterBit = 8,
    ClosedBit = 16,
    PCControlBit = 32,
};

} // namespace

int parseRelayMode(const QByteArray &value)
{
    const QByteArrayList names = QByteArray(RelayModeNames).split(',');
    for (qsizetype position = 0; position < names.size(); ++position) {
        if (value.contains(names.at(position)))
            return qint16(position);
    }
    return 0;
}

int parseInputMode(const QByteArray &value)
{
    struct Gate {
        const char *name;
        qint16 position;
    };
    static constexpr Gate searchOrder[] = {{"NXOR", 6}, {"NOR", 4}, {"XOR", 2}, {"OR", 0},
                                           {"NAND", 5}, {"AND", 1}, {"NIL", 7}, {"IL", 3}};
    for (const Gate &gate : searchOrder) {
        if (value.contains(gate.name))
            return gate.position;
    }
    return 0;
}

std::array<std::optional<bool>, InputCount> parseInputMap(const QByteArray &line)
{
    std::array<std::optional<bool>, InputCount> inputs{};
    for (int input = InputCount - 1; input >= 0; --input) {
        const qsizetype position = InputCount - 1 - input;
        if (position >= line.size())
            break;
        const char c = line.at(position);
        if (c == '\r')
            break;
        if (c == '0')
            inputs[size_t(input)] = false;
        else if (c == '1')
            inputs[size_t(input)] = true;
    }
    return inputs;
}

bool isCompleteMapLine(const QByteArray &line)
{
    return line.size() >= InputCount + 1;
}

qint32 parseHexCounter(const QByteArray &text)
{
    quint32 value = 0;
    qsizetype i = text.startsWith("&H") ? 2 : 0;
    for (; i < text.size(); ++i) {
        const char c = text.at(i);
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            break;
        value = value * 16 + quint32(digit);
    }
    return qint32(value);
}

std::optional<qint32> storableCounter(qint32 counter)
{
    if (counter < 0 || counter > LargestFileCounter)
        return std::nullopt;
    return counter;
}

std::optional<bool> parseStatus(const QByteArray &value)
{
    if (value.contains("Open"))
        return false;
    if (value.contains("Closed"))
        return true;
    return std::nullopt;
}

std::optional<bool> parseControlled(const QByteArray &value)
{
    if (value.contains("No"))
        return false;
    if (value.contains("Yes"))
        return true;
    return std::nullopt;
}

namespace
{

// A label, then, when its value is wanted, the value up to its carriage
// return, into text (which starts as start). Left unwanted, the value stays
// on the line for the wait for the next label to pass over.
Task<DialogueStep> readValue(ReportLine &line, const char *label, bool wanted, QByteArray &text,
                             const char *start = "")
{
    Task<DialogueStep> step = line.awaitLabel(label);
    if (DialogueStep s = co_await step; s != DialogueStep::Go || !wanted)
        co_return s;
    step = line.collect(text, start);
    co_return co_await step;
}

// One side of the relay: its gate line, then its map line. A map line cut
// short means the line garbled the report, so the attempt starts again.
Task<DialogueStep> readSide(ReportLine &line, qint16 ReadMask, qint16 &gate, std::array<bool, InputCount> &map,
                            bool unlatchSide, ReportFollower &follower)
{
    QByteArray text;
    Task<DialogueStep> step = readValue(line, "Input mode: ", ReadMask & InputModeBit, text);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (ReadMask & InputModeBit) {
        gate = parseInputMode(text);
        follower.gateRead(gate, unlatchSide);
    }
    step = readValue(line, "Input map: ", true, text);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (!isCompleteMapLine(text))
        co_return DialogueStep::Restart;
    if (ReadMask & InputMapBit) {
        const auto inputs = parseInputMap(text);
        for (int input = InputCount - 1; input >= 0; --input) {
            const std::optional<bool> inMap = inputs[size_t(input)];
            if (!inMap)
                continue;
            map[size_t(input)] = *inMap;
            follower.inputRead(input, *inMap, unlatchSide);
        }
    }
    co_return DialogueStep::Go;
}

} // namespace

Task<DialogueStep> walkReport(ReportLine &line, RelayConfig &relay, qint16 ReadMask, ReportFollower &follower)
{
    QByteArray text;
    Task<DialogueStep> step = readValue(line, "Relay mode: ", ReadMask & RelayModeBit, text);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (ReadMask & RelayModeBit) {
        relay.RelayMode = parseRelayMode(text);
        follower.relayModeRead(relay.RelayMode);
    }

    step = readSide(line, ReadMask, relay.InputMode, relay.InputMap, false, follower);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (relay.RelayMode == LatchingMode) {
        step = readSide(line, ReadMask, relay.UnlatchInputMode, relay.UnlatchMap, true, follower);
        if (DialogueStep s = co_await step; s != DialogueStep::Go)
            co_return s;
    }

    step = readValue(line, "counter: 0x", ReadMask & CounterBit, text, "&H");
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (ReadMask & CounterBit) {
        // Stored, a garbled counter would make a file this program then refuses.
        const std::optional<qint32> counter = storableCounter(parseHexCounter(text));
        if (!counter) {
            logFailure(Failure::ValueOutOfRange, QStringLiteral("ReadRelay"), 4,
                       QStringLiteral("counter 0x") +
                           QString::fromLatin1(text.mid(2).trimmed().toPercentEncoding()));
            co_return DialogueStep::Restart;
        }
        relay.Counter = *counter;
        CounterToTime(relay);
        follower.closureTimeRead(relay);
    }

    step = readValue(line, "status: ", ReadMask & ClosedBit, text);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (ReadMask & ClosedBit) {
        if (const std::optional<bool> closed = parseStatus(text))
            relay.Closed = *closed;
    }

    step = readValue(line, "controlled: ", ReadMask & PCControlBit, text);
    if (DialogueStep s = co_await step; s != DialogueStep::Go)
        co_return s;
    if (ReadMask & PCControlBit) {
        if (const std::optional<bool> controlled = parseControlled(text)) {
            relay.PCControl = *controlled;
            follower.pcControlRead(*controlled);
        }
    }
    co_return DialogueStep::Go;
}
