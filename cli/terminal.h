#pragma once

#include <cstdio>

// What tavikctl needs to know of the terminal it writes to.
namespace Terminal
{

// Whether the stream goes to a terminal, not a pipe or a file.
bool isTerminal(std::FILE *stream);
// The terminal's width in columns; 80 when the stream is no terminal or the
// width is unknown.
int columns(std::FILE *stream);

} // namespace Terminal
