#include "terminal.h"

#include <io.h>
#include <windows.h>

namespace Terminal
{

bool isTerminal(std::FILE *stream)
{
    return ::_isatty(::_fileno(stream)) != 0;
}

int columns(std::FILE *stream)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    if (isTerminal(stream) && ::GetConsoleScreenBufferInfo(handle, &info)) {
        const int width = info.srWindow.Right - info.srWindow.Left + 1;
        if (width >= 20)
            return width;
    }
    return 80;
}

} // namespace Terminal
