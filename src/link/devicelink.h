#pragma once

#include "link/deviceport.h"
#include "link/receivering.h"
#include "link/waitclock.h"

#include <QObject>

// The window's end of the serial line: the port, the ring that collects
// what arrives on it, and the clock that times every wait, wired together.
class DeviceLink : public QObject
{
    Q_OBJECT
public:
    explicit DeviceLink(QObject *parent = nullptr);

    DevicePort &port() { return m_port; }
    ReceiveRing &ring() { return m_ring; }
    WaitClock &clock() { return m_clock; }

private:
    DevicePort m_port;
    ReceiveRing m_ring;
    WaitClock m_clock;
};
