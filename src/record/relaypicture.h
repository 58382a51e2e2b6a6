#pragma once

#include "config/relayconfig.h"

#include <QImage>

// A relay's picture as the window shows it: the background with the twelve
// input buttons (lit for the inputs in the map), the gate and the relay's own
// picture, each where the window lays it over the background. 512 x 512.
// relayIndex is 0 to 15; a gate or relay outside its range draws nothing there.
QImage relayPicture(int relayIndex, qint16 inputMode, const std::array<bool, InputCount> &map);
