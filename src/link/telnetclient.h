#pragma once

#include <QByteArray>

#include <array>

// The client's half of a telnet connection to a serial server that takes the
// line settings by RFC 2217: the options it asks for and answers, the escaping
// of the data both ways, and the port settings it sends once the server takes
// them. It only transforms bytes; the socket belongs to ServerControl.
//
// The server is someone else's program: what it sends never makes the client
// answer without end or hold more than a few bytes. Options are negotiated as
// RFC 1143 has it, so a request that changes nothing is never answered, and a
// refusal goes out once per option whatever the server repeats.
class TelnetClient
{
public:
    // The most bytes of telnet commands (subnegotiations included) a server
    // may send between two data characters; a sane one sends a few dozen.
    static constexpr int MaxCommandRun = 4096;

    enum class Fault {
        None,
        SettingsRefused, // the server will not set the line, or set it otherwise
        EndlessCommands, // commands beyond MaxCommandRun without a data character
    };

    // The requests a client opens with: to send port settings, and 8-bit
    // clean data (binary transmission) both ways.
    QByteArray opening();

    // Takes what the server sent and returns its data characters; what must
    // be answered (option replies, the port settings) is appended to replies.
    // A command split between two calls is taken whole by the second. Once
    // fault() is set nothing more is taken.
    QByteArray receive(const QByteArray &bytes, QByteArray &replies);

    // The data characters as they must go on the connection.
    QByteArray encode(const QByteArray &data) const;

    // Whether the server has answered every port setting with the value
    // asked for: data sent from now on goes at the line's settings.
    bool settingsAnswered() const { return m_settingsAnswered == AllSettings; }

    Fault fault() const { return m_fault; }

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand, AfterReturn };
    // An option's state on one side (RFC 1143, without a queue: the client
    // never changes its mind while a request is open).
    enum class Option : unsigned char { No, Yes, WantYes };
    static constexpr int AllSettings = 0x3e; // one bit for each setting's code, 1 to 5
    static constexpr int KeptSubnegotiation = 8;

    void negotiate(unsigned char verb, unsigned char option, QByteArray &replies);
    void subnegotiated();

    State m_state = State::Data;
    unsigned char m_verb = 0;
    // Ours (we will, they do) and theirs (they will, we do), by option code.
    std::array<Option, 256> m_local{};
    std::array<Option, 256> m_remote{};
    // Requests refused once: a repeat gets no second refusal.
    std::array<bool, 256> m_localRefused{};
    std::array<bool, 256> m_remoteRefused{};
    // The start of the subnegotiation being received; the rest is not kept.
    QByteArray m_subnegotiation;
    int m_commandRun = 0;
    // Sent once a connection: a server that turns the option off and on
    // again does not make the client repeat them.
    bool m_settingsSent = false;
    int m_settingsAnswered = 0;
    Fault m_fault = Fault::None;
};
