#include "terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace Terminal
{

bool isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

int columns(std::FILE *stream)
{
    winsize size{};
    if (isTerminal(stream) && ::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col >= 20)
        return size.ws_col;
    return 80;
}

} // namespace Terminal
