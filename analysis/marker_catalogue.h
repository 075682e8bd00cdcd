#pragma once

#include <cstdint>
#include <string>

#include "analysis/marker_code.h"

namespace vellumark {

// The mnemonic of a marker code (the byte after 0xFF), e.g. SOF0, DHT, APP15.
std::string MarkerName(std::uint8_t code);

// True when a two-byte segment length follows the marker: every code but 0x00,
// SOI, EOI and 0xFF, so RST0-RST7 and TEM are read with a length too.
constexpr bool MarkerHasLength(std::uint8_t code) {
  return code != marker::kStuffedZero && code != marker::kSoi && code != marker::kEoi &&
         code != marker::kPrefix;
}

// Exactly two upper-case hexadecimal digits.
std::string Hex2(std::uint8_t value);

// The table of codes C0 to FF shown before any file is opened.
std::string MarkerCodeTable();

}  // namespace vellumark
