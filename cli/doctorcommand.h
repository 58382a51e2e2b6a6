#pragma once

#include "command.h"

// `tavikctl doctor [--port PORT]`: what stands between the user and the
// serial ports, checked before any dialogue.
Command doctorCommand();
