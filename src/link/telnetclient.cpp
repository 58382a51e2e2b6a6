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

// A server answers a setting with its code plus this.
constexpr unsigned char AnswerOffset = 100;

constexpr quint32 BaudRate = 57600;
constexpr unsigned char EightDataBits = 8;
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

// The value each setting is sent with, by its code; the server answers with
// the value it set.
QByteArray settingValue(unsigned char code)
{
    switch (code) {
    case SetBaudRate:
        return bytes({BaudRate >> 24, BaudRate >> 16 & 0xff, BaudRate >> 8 & 0xff, BaudRate & 0xff});
    case SetDataSize:
        return bytes({EightDataBits});
    case SetParity:
        return bytes({NoParity});
    case SetStopSize:
        return bytes({OneStopBit});
    case SetControl:
        return bytes({NoFlowControl});
    }
    return {};
}

QByteArray portSettings()
{
    QByteArray out;
    for (const unsigned char code : {SetBaudRate, SetDataSize, SetParity, SetStopSize, SetControl})
        out += portCommand(code, settingValue(code));
    return out;
}

} // namespace

QByteArray TelnetClient::opening()
{
    m_local[ComPort] = Option::WantYes;
    m_local[Binary] = Option::WantYes;
    m_remote[Binary] = Option::WantYes;
    return command(WILL, ComPort) + command(WILL, Binary) + command(DO, Binary);
}

void TelnetClient::negotiate(unsigned char verb, unsigned char option, QByteArray &replies)
{
    const bool ours = verb == DO || verb == DONT;
    const bool enable = verb == DO || verb == WILL;
    Option &state = ours ? m_local[option] : m_remote[option];
    bool &refused = ours ? m_localRefused[option] : m_remoteRefused[option];
    const bool accepted = ours ? weAccept(option) : theyMay(option);
    const unsigned char yes = ours ? WILL : DO;
    const unsigned char no = ours ? WONT : DONT;
    const Option before = state;
    if (enable && before == Option::No) {
        if (accepted) {
            state = Option::Yes;
            replies += command(yes, option);
        } else if (!std::exchange(refused, true)) {
            replies += command(no, option);
        }
    } else if (enable) {
        state = Option::Yes; // the answer to our request, or what holds already
    } else {
        state = Option::No;
        if (before == Option::Yes)
            replies += command(no, option);
    }
    if (option != ComPort)
        return;
    // Either side's refusal of the port option before the settings are
    // answered: the server does not set lines.
    if (!enable && !settingsAnswered())
        m_fault = Fault::SettingsRefused;
    else if (ours && before != Option::Yes && state == Option::Yes && !std::exchange(m_settingsSent, true))
        replies += portSettings();
}

void TelnetClient::subnegotiated()
{
    // Only the server's answers to the settings matter here; its
    // notifications of line and modem state change nothing.
    if (m_subnegotiation.size() < 2 || quint8(m_subnegotiation.at(0)) != ComPort)
        return;
    const int code = quint8(m_subnegotiation.at(1)) - AnswerOffset;
    if (code < SetBaudRate || code > SetControl)
        return;
    if (m_subnegotiation.mid(2) != settingValue(static_cast<unsigned char>(code)))
        m_fault = Fault::SettingsRefused;
    else
        m_settingsAnswered |= 1 << code;
}

QByteArray TelnetClient::receive(const QByteArray &bytes, QByteArray &replies)
{
    QByteArray data;
    for (const char c : bytes) {
        if (m_fault != Fault::None)
            break;
        const auto byte = static_cast<unsigned char>(c);
        const qsizetype dataBefore = data.size();
        switch (m_state) {
        case State::AfterReturn:
            m_state = State::Data;
            // Without binary transmission a lone carriage return comes as CR NUL.
            if (byte == 0) {
                m_commandRun = 0;
                continue;
            }
            [[fallthrough]];
        case State::Data:
            if (byte == IAC) {
                m_state = State::Command;
            } else {
                data.append(c);
                if (byte == '\r' && m_remote[Binary] != Option::Yes)
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
                m_subnegotiation.clear();
                m_state = State::Subnegotiation;
            }
            break;
        case State::Option:
            negotiate(m_verb, byte, replies);
            m_state = State::Data;
            break;
        case State::Subnegotiation:
            if (byte == IAC)
                m_state = State::SubnegotiationCommand;
            else if (m_subnegotiation.size() < KeptSubnegotiation)
                m_subnegotiation.append(c);
            break;
        case State::SubnegotiationCommand:
            m_state = State::Subnegotiation;
            if (byte == SE) {
                m_state = State::Data;
                subnegotiated();
            } else if (byte == IAC && m_subnegotiation.size() < KeptSubnegotiation) {
                m_subnegotiation.append(c);
            }
            break;
        }
        // A data character ends a run of commands; the server may not make
        // the client read commands alone for ever.
        if (data.size() > dataBefore)
            m_commandRun = 0;
        else if (++m_commandRun > MaxCommandRun && m_fault == Fault::None)
            m_fault = Fault::EndlessCommands;
    }
    return data;
}

QByteArray TelnetClient::encode(const QByteArray &data) const
{
    QByteArray out = escaped(data);
    if (m_local[Binary] != Option::Yes)
        out.replace("\r", QByteArray("\r\0", 2));
    return out;
}
