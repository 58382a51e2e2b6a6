#pragma once

#include "command.h"

// show FILE, new -o FILE
QList<Command> fileCommands();
