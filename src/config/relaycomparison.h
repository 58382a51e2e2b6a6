#pragma once

#include "config/relayconfig.h"

#include <QList>
#include <QString>

// A relay's values as a person reads them, the same in the terminal and in
// the window: mode and gate names, inputs numbered 1 to 12 as the window's
// buttons label them, and the closure time as h:mm:ss.hh.
namespace RelayText
{

QString relayMode(qint16 relayMode);
QString inputMode(qint16 inputMode);
// "1, 3, 12", or "none".
QString inputs(const std::array<bool, InputCount> &map);
// "AND of inputs 1, 4, 12", "OR of input 2", "OR of no input".
QString gate(qint16 inputMode, const std::array<bool, InputCount> &map);
QString closureTime(const RelayConfig &relay);
// "Open" or "Closed".
QString contact(bool closed);

} // namespace RelayText

// The parts of a relay's configuration that a comparison names.
enum class RelayField {
    RelayMode,
    InputMode,
    InputMap,
    UnlatchInputMode,
    UnlatchMap,
    ClosureTime,
    PCControl, // set live, never programmed
    Contact,   // the device's state, never programmed
};

// "relay mode", "input map", "closure time", ...: the name in the JSON, and
// the caption a person reads in their language.
QString relayFieldName(RelayField field);
QString relayFieldCaption(RelayField field);

// One field in which two configurations of a relay differ, with both values
// as a person reads them.
struct RelayDifference {
    int relay = 0; // 1 to 16
    RelayField field = RelayField::RelayMode;
    QString first;
    QString second;

    // False for PC control and the contact: they are reported, but the
    // device behaves the same whatever they hold.
    bool counts() const { return field != RelayField::PCControl && field != RelayField::Contact; }
    // "Relay 5: input map: file 1, 3, 12; device 1, 3"
    QString text(const QString &firstName, const QString &secondName) const;
};

// What a program leaves the device doing: relay mode, gate and input map
// always; the unlatch side where either relay is Latching; the closure time
// where either relay's mode has one. PC control and the contact follow.
QList<RelayDifference> compareRelays(const RelayConfig &first, const RelayConfig &second, int relayNumber);
QList<RelayDifference> compareTables(const RelayTable &first, const RelayTable &second);

// True when the device would behave the same with either configuration.
bool behavesAlike(const RelayConfig &first, const RelayConfig &second);
bool anyCounts(const QList<RelayDifference> &differences);
