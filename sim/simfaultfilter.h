#pragma once

#include "taviksimulator.h"

#include <QByteArray>

class SimMenu;

// The faults of a bad line or a confused device, laid over the healthy menu:
// what comes in may go unheard, and what goes out may carry a wrong echo, a
// cut input-map line or a banner. How the output then travels (its pace, its
// pieces, the flood, the limits that end in silence or a hang-up) is the
// line's business.
class SimFaultFilter
{
public:
    // Takes new faults; their counters (wrong echoes, cut maps, the input
    // index) start afresh from here, and a fallen-silent device speaks again.
    void setFaults(const SimFaults &faults);
    // From now on the device hears and says nothing, until new faults are set.
    void fallSilent() { m_fallenSilent = true; }

    // Hands one received character to the menu and returns its answer as
    // the faults make it.
    QByteArray pass(char c, SimMenu &menu);

private:
    void cutMapLines(QByteArray &out);
    static QByteArray withBanners(const QByteArray &out, bool wasAtMenu);
    char echoFor(char c, qint64 index);

    SimFaults m_faults;
    bool m_fallenSilent = false;
    int m_wrongEchoesLeft = 0;
    int m_shortMapsLeft = 0;
    qint64 m_inputIndex = 0;
};
