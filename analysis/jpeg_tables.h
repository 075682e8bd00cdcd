#pragma once

#include <array>
#include <cstdint>

namespace vellumark {

// For each natural position row * 8 + column, the index at which its coefficient
// stands in a DQT table (the zig-zag order of ITU-T T.81, Figure A.6).
using ZigZagTable = std::array<std::uint8_t, 64>;
const ZigZagTable& ZigZagIndex();

// Builds the tables once, at start-up, so that no analysis pays for it. Later
// calls return at once.
void InitJpegTables();

}  // namespace vellumark
