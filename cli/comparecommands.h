#pragma once

#include "command.h"

class DeviceConnection;

// verify -i FILE DEVICE, diff FILE_A FILE_B
QList<Command> comparisonCommands();

// program --changed: reads relay number (or all 16 when 0) from the device,
// programs those whose configuration in the connection's table differs,
// reads those back and checks them. Ends with the exit code.
Task<int> programChangedRelays(DeviceConnection *connection, int relay, QString file);
