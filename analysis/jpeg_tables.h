#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellumark {

// Values in a DQT table; code-length counts at the head of a DHT table.
inline constexpr std::size_t kQuantisationValues = 64;
inline constexpr std::size_t kHuffmanCodeLengths = 16;

// For each natural position row * 8 + column, the index at which its coefficient
// stands in a DQT table (the zig-zag order of ITU-T T.81, Figure A.6).
using ZigZagTable = std::array<std::uint8_t, kQuantisationValues>;
const ZigZagTable& ZigZagIndex();

// Builds the tables once, at start-up, so that no analysis pays for it. Later
// calls return at once.
void InitJpegTables();

}  // namespace vellumark
