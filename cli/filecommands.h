#pragma once

#include "command.h"

struct FileFault;

// Where a file was refused, as "line 5, column 3 ('x'): "; empty when the
// fault has no line.
QString fileFaultPlace(const FileFault &fault);

// show FILE, new -o FILE, set FILE
QList<Command> fileCommands();
