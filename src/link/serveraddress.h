#pragma once

#include <QString>

#include <optional>

// A port on a serial server reached over the network, as the user names it:
// "tcp://HOST:PORT" for a server that passes the line's characters through as
// they are, "rfc2217://HOST:PORT" for a telnet server that also takes the
// line settings (RFC 2217). An IPv6 host is written in brackets.
struct ServerAddress {
    bool telnet = false;
    QString host;
    quint16 port = 0;

    // "HOST:PORT", as the port list and the messages name it.
    QString hostAndPort() const;
};

// The server a port name gives; none when it names no server (a device path,
// a number) or its port is not a number from 1 to 65535.
std::optional<ServerAddress> serverAddress(const QString &name);

// Whether the name is meant as a server's, well formed or not.
bool looksLikeServerAddress(const QString &name);

// What is wrong with a name meant as a server's address (a path after the
// port, a port outside 1 to 65535, no port), in words for the user; empty
// when it is well formed or not meant as one.
QString serverAddressFault(const QString &name);
