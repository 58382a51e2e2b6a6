#pragma once

#include "config/relayconfig.h"

#include <QString>

// A relay in words, for the terminal. Inputs are numbered 0 to 11 as the
// device numbers them.

// "AND of inputs 0, 3, 11", "OR of no input".
QString gateText(qint16 inputMode, const std::array<bool, InputCount> &map);

// The closure time as H:MM:SS.hh.
QString closureTimeText(const RelayConfig &relay);

// One line: number, mode, gate and inputs, the unlatch side of a Latching
// relay, closure time, contact and PC control.
QString relayLine(const RelayConfig &relay, int number);

// One labelled line per part, ending in a newline.
QString relayDescription(const RelayConfig &relay, int number);
