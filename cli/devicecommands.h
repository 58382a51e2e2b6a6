#pragma once

#include "command.h"

// ports, read, program, pc-control, latch, moment: the commands that talk to
// the device, each on --port PORT or on the built-in simulated device (--simulate).
QList<Command> deviceCommands();
