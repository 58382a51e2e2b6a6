#include "link/telnetclient.h"

#include <initializer_list>
#include <utility>

namespace
{

enum : unsigned char {
    SE = 240,
    SB = 250,
    WILL = 251,
    WONT = 252,
    DO = 253,
    DONT = 254,
    IAC = 255,
};

enum : unsigned char {
    Binary = 0,
    SuppressGoAhead = 3,
    ComPort = 44,
};

// The port-control commands a client sends (RFC 2217).
enum : unsigned char {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
};

constexpr quint32 BaudRate = 57600;
constexpr unsigned char NoParity = 1;
constexpr unsigned char OneStopBit = 1;
constexpr unsigned char NoFlowControl = 1;

bool weAccept(unsigned char option)
{
    return option == Binary || option == SuppressGoAhead || option == ComPort;
}

bool theyMay(unsigned char option)
{
    return option == Binary || option == SuppressGoAhead;
}

QByteArray bytes(std::initializer_list<unsigned char> values)
{
    QByteArray out;
    for (const unsigned char value : values)
        out.append(char(value));
    return out;
}

QByteArray command(unsigned char verb, unsigned char option)
{
    return bytes({IAC, verb, option});
}

QByteArray escaped(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        out.append(c);
        if (static_cast<unsigned char>(c) == IAC)
            out.append(c);
    }
    return out;
}

QByteArray portCommand(unsigned char code, const QByteArray &value)
{
    return bytes({IAC, SB, ComPort, code}) + escaped(value) + bytes({IAC, SE});
}

QByteArray portSettings()
{
    const QByteArray baud = bytes({BaudRate >> 24, BaudRate >> 16 & 0xff, BaudRate >> 8 & 0xff, BaudRate & 0xff});
    return portCommand(SetBaudRate, baud) + portCommand(SetDataSize, QByteArray(1, 8)) +
           portCommand(SetParity, QByteArray(1, char(NoParity))) +
           portCommand(SetStopSize, QByteArray(1, char(OneStopBit))) +
           portCommand(SetControl, QByteArray(1, char(NoFlowControl)));
}

} // namespace

QByteArray TelnetClient::opening()
{
    m_local[ComPort].requested = true;
    m_local[Binary].requested = true;
    m_remote[Binary].requested = true;
    return command(WILL, ComPort) + command(WILL, Binary) + command(DO, Binary);
}

void TelnetClient::negotiate(unsigned char verb, unsigned char option, QByteArray &replies)
{
    // Answers only what changes an option's state, so that two sides asking
    // at once take each other's request as the answer and nothing loops.
    const bool ours = verb == DO || verb == DONT;
    const bool wanted = verb == DO || verb == WILL;
    Option &state = ours ? m_local[option] : m_remote[option];
    const bool accepted = ours ? weAccept(option) : theyMay(option);
    const bool wasRequested = std::exchange(state.requested, false);
    if (ours && option == ComPort) {
        if (wanted && accepted && !state.enabled)
            replies += (wasRequested ? QByteArray() : command(WILL, ComPort)) + portSettings();
        m_settingsAnswered = true;
    }
    if (wanted && !accepted) {
        replies += command(ours ? WONT : DONT, option);
        return;
    }
    if (state.enabled == wanted)
        return;
    state.enabled = wanted;
    if (!wasRequested && !(ours && option == ComPort))
        replies += command(ours ? (wanted ? WILL : WONT) : (wanted ? DO : DONT), option);
}

QByteArray TelnetClient::receive(const QByteArray &bytes, QByteArray &replies)
{
    QByteArray data;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (m_state) {
        case State::AfterReturn:
            m_state = State::Data;
            // Without binary transmission a lone carriage return comes as CR NUL.
            if (byte == 0)
                break;
            [[fallthrough]];
        case State::Data:
            if (byte == IAC) {
                m_state = State::Command;
            } else {
                data.append(c);
                if (byte == '\r' && !m_remote[Binary].enabled)
                    m_state = State::AfterReturn;
            }
            break;
        case State::Command:
            m_state = State::Data;
            if (byte == IAC) {
                data.append(c);
            } else if (byte >= WILL) {
                m_verb = byte;
                m_state = State::Option;
            } else if (byte == SB) {
                m_state = State::Subnegotiation;
            }
            break;
        case State::Option:
            negotiate(m_verb, byte, replies);
            m_state = State::Data;
            break;
        case State::Subnegotiation:
            // The server's answers to the settings and its notifications of
            // line and modem state change nothing here.
            if (byte == IAC)
                m_state = State::SubnegotiationCommand;
            break;
        case State::SubnegotiationCommand:
            m_state = byte == SE ? State::Data : State::Subnegotiation;
            break;
        }
    }
    return data;
}

QByteArray TelnetClient::encode(const QByteArray &data) const
{
    QByteArray out = escaped(data);
    if (!m_local[Binary].enabled)
        out.replace("\r", QByteArray("\r\0", 2));
    return out;
}
