#include "dialogues/readparsing.h"

qint16 parseRelayMode(const QByteArray &value)
{
    const QByteArrayList names = QByteArray(RelayModeNames).split(',');
    for (qsizetype position = 0; position < names.size(); ++position) {
        if (value.contains(names.at(position)))
            return qint16(position);
    }
    return 0;
}

qint16 parseInputMode(const QByteArray &value)
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
