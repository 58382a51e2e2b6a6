#pragma once

#include "command.h"

// `tavikctl report -i FILE -o RECORD.pdf|RECORD.html [--title TEXT] [--page a4|letter]`:
// the commissioning record of a configuration file, drawn with no display.
Command reportCommand();
