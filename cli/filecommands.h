#pragma once

#include "command.h"

struct FileFault;

// show exits with the reader's fault number 1 to 7 as it stands; a file that
// could not be read or written at all gets a number of its own.
constexpr int ExitFileFailed = 8;

// Where a file was refused, as "line 5, column 3 ('x'): "; empty when the
// fault has no line.
QString fileFaultPlace(const FileFault &fault);

// show FILE, new -o FILE
QList<Command> fileCommands();
