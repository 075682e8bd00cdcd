#pragma once

#include <cstdint>
#include <string>

namespace vellumark {

// Low four bits of a byte: the table identifier in DQT and DHT segments.
constexpr std::uint8_t LowNibble(std::uint8_t b) { return static_cast<std::uint8_t>(b & 0x0F); }

// High four bits of a byte: the precision (DQT) or the table class (DHT).
constexpr std::uint8_t HighNibble(std::uint8_t b) { return static_cast<std::uint8_t>(b >> 4); }

// The upper-case hexadecimal digit of a value 0 to 15.
constexpr char HexDigit(std::uint8_t nibble) { return "0123456789ABCDEF"[nibble & 0x0F]; }

// A segment length as the file stores it: the first byte is the high byte.
constexpr std::int32_t BigEndianWord(std::uint8_t first, std::uint8_t second) {
  return first * 256 + second;
}

// Four bytes, the first the highest, as ISO media box sizes are stored.
constexpr std::uint32_t BigEndianLong(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

// Base-2 digits of value, most significant first, padded with '0' to at least
// width characters and never cut. A negative value gives its 32-bit
// two's-complement pattern.
std::string BinaryString(std::int32_t value, std::int32_t width);

}  // namespace vellumark
