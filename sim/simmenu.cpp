#include "simmenu.h"

#include <utility>

namespace
{

constexpr char CarriageReturn = 13;
constexpr int MaxDigits = 6;

const char *const ModeNames[] = {"Momentary",     "Toggle",   "Leading-Edge", "Trailing-Edge", "Either-Edge",
                                 "Pulse-Stretch", "Min-Time", "Max-Time",     "Debounce",      "Latching"};
constexpr int LatchingMode = 10;

const char *gateName(int code)
{
    switch (code) {
    case 0:
        return "OR";
    case 1:
        return "AND";
    case 2:
        return "XOR";
    case 3:
        return "IL";
    case 8:
        return "NOR";
    case 9:
        return "NAND";
    case 10:
        return "NXOR";
    case 11:
        return "NIL";
    default:
        return nullptr;
    }
}

bool isTimedMode(int mode)
{
    return mode >= 3 && mode <= 9;
}

// Twelve "0"/"1", input 11 first, as the device lists its inputs.
QByteArray mapDigits(quint16 map)
{
    QByteArray digits;
    for (int input = 11; input >= 0; --input)
        digits += (map & (1u << input)) ? '1' : '0';
    return digits;
}

quint16 withGroup(quint16 map, int group, int value)
{
    const int shift = 4 * group;
    return quint16((map & ~(0xFu << shift)) | (unsigned(value) << shift));
}

} // namespace

const QByteArray SimMenu::MenuListing = "\r\n"
                                        "  r  Read relay\r\n"
                                        "  p  Program relay\r\n"
                                        "  c  PC control on/off\r\n"
                                        "  l  Latch input\r\n"
                                        "  m  Momentary input\r\n";

void SimMenu::setManner(bool echoEscape, bool menuAfterCommand)
{
    m_echoEscape = echoEscape;
    m_menuAfterCommand = menuAfterCommand;
}

QByteArray SimMenu::receive(char c)
{
    // Escape leaves whatever was under way. A device that lists its commands
    // lists them again; one that does not says nothing but the echo.
    if (c == Escape) {
        reset();
        const QByteArray echo = m_echoEscape ? QByteArray(1, c) : QByteArray();
        return m_menuAfterCommand ? echo + backToMenu() : echo;
    }
    const QByteArray out(1, c);
    if (m_confirming)
        return out + atConfirmation(c);
    if (m_command == 0)
        return out + atMenu(c);
    return out + atQuestion(c);
}

void SimMenu::setRelays(const Relays &relays)
{
    m_relays = relays;
}

void SimMenu::setRelay(int index, const SimRelay &relay)
{
    m_relays.at(index) = relay;
}

bool SimMenu::takeChanged()
{
    return std::exchange(m_changed, false);
}

QByteArray SimMenu::atMenu(char c)
{
    switch (c) {
    case 'r':
    case 'p':
    case 'c':
    case 'l':
    case 'm':
        m_command = c;
        m_questions = {{Field::RelayNumber, "Relay number (1-16): ", 1, 16}};
        return ask();
    default:
        return {};
    }
}

QByteArray SimMenu::atQuestion(char c)
{
    if (c >= '0' && c <= '9') {
        if (m_digits.size() < MaxDigits)
            m_digits += c;
        return {};
    }
    if (c != CarriageReturn)
        return {};
    const QByteArray digits = std::exchange(m_digits, {});
    bool ok = false;
    const int value = digits.toInt(&ok);
    const Question question = m_questions.front();
    if (!ok || !accepts(question, value))
        return "\r\nOut of range" + ask();
    m_questions.erase(m_questions.begin());
    take(question.field, value);
    if (m_questions.empty())
        return finishCommand();
    return ask();
}

QByteArray SimMenu::atConfirmation(char c)
{
    QByteArray out;
    if (c == 'y' || c == 'Y') {
        if (isTimedMode(m_draft.mode))
            m_draft.counter = quint32(m_hours * 360000 + m_minutes * 6000 + m_seconds * 100 + m_hundredths);
        m_relays[m_relayIndex] = m_draft;
        m_changed = true;
        out = "\r\nRelay configuration saved\r\n";
    } else {
        out = "\r\nRelay configuration discarded\r\n";
    }
    reset();
    return out + backToMenu();
}

QByteArray SimMenu::ask() const
{
    return prompt(m_questions.front().prompt);
}

QByteArray SimMenu::prompt(const char *text)
{
    return QByteArray("\r\n") + text;
}

bool SimMenu::accepts(const Question &question, int value) const
{
    if (value < question.min || value > question.max)
        return false;
    if (question.field == Field::Gate || question.field == Field::UnlatchGate)
        return gateName(value) != nullptr;
    return true;
}

void SimMenu::take(Field field, int value)
{
    switch (field) {
    case Field::RelayNumber:
        m_relayIndex = value - 1;
        m_draft = m_relays[m_relayIndex];
        if (m_command == 'p') {
            m_questions = {{Field::Mode, "Relay mode (1-9): ", 1, LatchingMode},
                           {Field::GroupA, "Input group A (0-15): ", 0, 15},
                           {Field::GroupB, "Input group B (0-15): ", 0, 15},
                           {Field::GroupC, "Input group C (0-15): ", 0, 15},
                           {Field::Gate, "Input mode (0-15): ", 0, 15}};
        }
        break;
    case Field::Mode:
        m_draft.mode = value;
        break;
    case Field::GroupA:
        m_draft.map = withGroup(m_draft.map, 0, value);
        break;
    case Field::GroupB:
        m_draft.map = withGroup(m_draft.map, 1, value);
        break;
    case Field::GroupC:
        m_draft.map = withGroup(m_draft.map, 2, value);
        break;
    case Field::Gate:
        m_draft.gate = value;
        if (m_draft.mode == LatchingMode) {
            m_questions = {{Field::UnlatchGroupA, "Unlatch group A (0-15): ", 0, 15},
                           {Field::UnlatchGroupB, "Unlatch group B (0-15): ", 0, 15},
                           {Field::UnlatchGroupC, "Unlatch group C (0-15): ", 0, 15},
                           {Field::UnlatchGate, "Unlatch mode (0-15): ", 0, 15}};
        } else if (isTimedMode(m_draft.mode)) {
            m_questions = {{Field::Hours, "Closure hours (0-45): ", 0, 45},
                           {Field::Minutes, "Closure minutes (0-59): ", 0, 59},
                           {Field::Seconds, "Closure seconds (0-59): ", 0, 59},
                           {Field::Hundredths, "Closure milliseconds (x 10) (0-99): ", 0, 99}};
        }
        break;
    case Field::UnlatchGroupA:
        m_draft.unlatchMap = withGroup(m_draft.unlatchMap, 0, value);
        break;
    case Field::UnlatchGroupB:
        m_draft.unlatchMap = withGroup(m_draft.unlatchMap, 1, value);
        break;
    case Field::UnlatchGroupC:
        m_draft.unlatchMap = withGroup(m_draft.unlatchMap, 2, value);
        break;
    case Field::UnlatchGate:
        m_draft.unlatchGate = value;
        break;
    case Field::Hours:
        m_hours = value;
        break;
    case Field::Minutes:
        m_minutes = value;
        break;
    case Field::Seconds:
        m_seconds = value;
        break;
    case Field::Hundredths:
        m_hundredths = value;
        break;
    }
}

QByteArray SimMenu::finishCommand()
{
    QByteArray out;
    switch (m_command) {
    case 'r':
        out = report(m_relayIndex);
        break;
    case 'p':
        m_confirming = true;
        return prompt("Save relay configuration (y/n): ");
    default:
        out = pcCommand();
        break;
    }
    reset();
    return out + backToMenu();
}

QByteArray SimMenu::report(int index)
{
    const SimRelay &relay = m_relays[index];
    const int mode = (relay.mode >= 1 && relay.mode <= LatchingMode) ? relay.mode : 1;
    const char *gate = gateName(relay.gate);
    QByteArray out = "\r\n";
    out += QByteArray("Relay mode: ") + ModeNames[mode - 1] + "\r\n";
    out += QByteArray("Input mode: ") + (gate ? gate : "OR") + "\r\n";
    out += mapLine("Input map: ", relay.map);
    if (mode == LatchingMode) {
        const char *unlatchGate = gateName(relay.unlatchGate);
        out += QByteArray("Unlatch Input mode: ") + (unlatchGate ? unlatchGate : "OR") + "\r\n";
        out += mapLine("Unlatch Input map: ", relay.unlatchMap);
    }
    out += "Relay counter: 0x" + QByteArray::number(relay.counter, 16).toUpper() + "\r\n";
    out += QByteArray("Relay status: ") + (relay.closed ? "Closed" : "Open") + "\r\n";
    out += QByteArray("PC controlled: ") + (relay.pcControl ? "Yes" : "No") + "\r\n";
    return out;
}

QByteArray SimMenu::mapLine(const char *label, quint16 map)
{
    return label + mapDigits(map) + "\r\n";
}

// "c" hands the relay to the PC or takes it back; "l" latches its input,
// which flips the contact; "m" pulses it, closing and reopening the contact,
// so the contact ends as it was. The device refuses both unless the relay is
// under PC control.
QByteArray SimMenu::pcCommand()
{
    SimRelay &relay = m_relays[m_relayIndex];
    const QByteArray name = "\r\nRelay " + QByteArray::number(m_relayIndex + 1);
    if (m_command == 'c') {
        relay.pcControl = !relay.pcControl;
        m_changed = true;
        return name + (relay.pcControl ? " PC control on\r\n" : " PC control off\r\n");
    }
    if (!relay.pcControl)
        return name + " is not under PC control\r\n";
    if (m_command == 'l') {
        relay.closed = !relay.closed;
        m_changed = true;
        return name + " input latched, contact " + (relay.closed ? "Closed" : "Open") + "\r\n";
    }
    return name + " input pulsed\r\n";
}

QByteArray SimMenu::backToMenu() const
{
    return m_menuAfterCommand ? MenuListing + MenuPrompt : QByteArray(MenuPrompt);
}

void SimMenu::reset()
{
    m_command = 0;
    m_questions.clear();
    m_digits.clear();
    m_confirming = false;
    m_relayIndex = -1;
    m_hours = m_minutes = m_seconds = m_hundredths = 0;
}
