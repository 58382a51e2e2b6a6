#pragma once

#include "command.h"

class CommandReport;
class DeviceSession;

// verify -i FILE DEVICE, diff FILE_A FILE_B
QList<Command> comparisonCommands();

// program --changed: reads relay number (or all 16 when 0) from the device,
// programs those whose configuration in the session's table differs, reads
// those back and checks them. Returns the exit code.
int programChangedRelays(DeviceSession &session, int relay, const QString &file, CommandReport &report);
