#include "filecommands.h"

QList<Command> fileCommands()
{
    return {};
}
