#pragma once

#include <cstdio>

namespace vellumark {

// True when stream goes to a terminal where a person watches. On Windows that
// is a console, which the C library's isatty cannot tell from the NUL device.
bool IsTerminal(std::FILE* stream);

}  // namespace vellumark
