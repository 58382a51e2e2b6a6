#pragma once

#include "config/relayconfig.h"

#include <QString>

// A relay in words, for the terminal, with the values as the window shows
// them (inputs 1 to 12).

// One line: number, mode, gate and inputs, the unlatch side of a Latching
// relay, closure time, contact and PC control.
QString relayLine(const RelayConfig &relay, int number);

// One labelled line per part, ending in a newline.
QString relayDescription(const RelayConfig &relay, int number);
