#include "simtcpwire.h"

// Windows has no pseudo-terminals: the device listens on a free local port.
std::unique_ptr<SimWire> makeSystemWire()
{
    return std::make_unique<SimTcpWire>(QStringLiteral("127.0.0.1"), 0, 0);
}
