#pragma once

#include <cstdint>

#include "platform/binary_file.h"

namespace vellumark {

// The two bytes after a marker code, which count themselves.
inline constexpr std::int64_t kLengthFieldSize = 2;

// Reads a segment length at the read position. A length field cut off by the
// end of the file counts its missing bytes as 0: what the file has still
// prints, and the cut of the length to the file then rejects it.
std::int64_t ReadLengthField(BinaryFile& file);

}  // namespace vellumark
