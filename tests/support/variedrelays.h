#pragma once

#include "inputmap.h"
#include "taviksimulator.h"

#include <QStringList>

// Relay i of the device, each unlike the others in mode, gate, inputs and
// time; relay 3 is Latching (NAND of inputs 0 and 11 unlatches it).
inline SimRelay variedDeviceRelay(int i)
{
    SimRelay relay;
    relay.mode = i == 2 ? 10 : 1 + i % 9;
    const int gates[] = {0, 1, 2, 3, 8, 9, 10, 11};
    relay.gate = gates[i % 8];
    relay.map = quint16((0x5A5 + 37 * i) & 0xFFF);
    if (relay.mode == 10) {
        relay.unlatchGate = 9;
        relay.unlatchMap = 0x801;
    }
    if (relay.mode >= 3 && relay.mode <= 9)
        relay.counter = quint32(100 * i + 12);
    return relay;
}

// What reading device relay d stores over a record.
inline RelayConfig asRead(const SimRelay &d, RelayConfig record = {})
{
    const auto gate = [](int code) { return qint16(code < 8 ? code : code - 4); };
    record.RelayMode = qint16(d.mode - 1);
    record.InputMode = gate(d.gate);
    record.InputMap = inputMap(d.map);
    if (d.mode == 10) {
        record.UnlatchInputMode = gate(d.unlatchGate);
        record.UnlatchMap = inputMap(d.unlatchMap);
    }
    record.Counter = qint32(d.counter);
    CounterToTime(record);
    record.Closed = d.closed;
    record.PCControl = d.pcControl;
    return record;
}

// The table a read of every varied relay leaves.
inline RelayTable variedTable()
{
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i)
        table[size_t(i)] = asRead(variedDeviceRelay(i));
    return table;
}

// A record's fields as texts, each whole (an input of a map is a field of
// its own, as a read takes them one by one): a half-parsed value matches none
// of the versions a field may hold, and never half of a closure time.
inline QStringList fields(const RelayConfig &r)
{
    QStringList texts = {QString::number(r.RelayMode), QString::number(r.InputMode),
                         QString::number(r.UnlatchInputMode), QString::number(r.Closed), QString::number(r.PCControl),
                         QString::asprintf("%d %d:%d:%d.%d", r.Counter, r.Hours, r.Minutes, r.Seconds,
                                           r.Hundredths)};
    for (size_t i = 0; i < InputCount; ++i)
        texts << QString::number(r.InputMap[i]) << QString::number(r.UnlatchMap[i]);
    return texts;
}
