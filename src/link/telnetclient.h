#pragma once

#include <QByteArray>

#include <array>

// The client's half of a telnet connection to a serial server that takes the
// line settings by RFC 2217: the options it asks for and answers, the escaping
// of the data both ways, and the port settings it sends once the server takes
// them. It only transforms bytes; the socket belongs to ServerControl.
class TelnetClient
{
public:
    // The requests a client opens with: to send port settings, and 8-bit
    // clean data (binary transmission) both ways.
    QByteArray opening();

    // Takes what the server sent and returns its data characters; what must
    // be answered (option replies, the port settings) is appended to replies.
    // A command split between two calls is taken whole by the second.
    QByteArray receive(const QByteArray &bytes, QByteArray &replies);

    // The data characters as they must go on the connection.
    QByteArray encode(const QByteArray &data) const;

    // Whether the server has answered the request to send port settings,
    // either way: data sent from now on goes at the line's settings.
    bool settingsAnswered() const { return m_settingsAnswered; }

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand, AfterReturn };
    struct Option {
        bool enabled = false;
        bool requested = false; // asked for by us and not answered yet
    };

    void negotiate(unsigned char verb, unsigned char option, QByteArray &replies);

    State m_state = State::Data;
    unsigned char m_verb = 0;
    // Ours (we will, they do) and theirs (they will, we do), by option code.
    std::array<Option, 256> m_local{};
    std::array<Option, 256> m_remote{};
    bool m_settingsAnswered = false;
};
