#pragma once

#include "command.h"

// set FILE --relay N [--mode NAME] ...: one relay of a configuration file changed in place.
Command setCommand();
