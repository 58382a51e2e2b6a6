#include "simpty.h"

std::unique_ptr<SimWire> makeSystemWire()
{
    return std::make_unique<SimPty>();
}
