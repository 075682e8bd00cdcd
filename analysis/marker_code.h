#pragma once

#include <cstdint>

// Every marker code the program names, in one place (ITU-T T.81, Table B.1).
// Plain enumerators, so that a code compares with the byte read from the file
// as it is; the namespace keeps the short names from clashing.
namespace vellumark::marker {

enum Code : std::uint8_t {
  // After 0xFF in entropy-coded data: the 0xFF is a data byte, not a marker.
  kStuffedZero = 0x00,
  kTem = 0x01,
  kSof0 = 0xC0,
  kDht = 0xC4,
  kJpg = 0xC8,
  kDac = 0xCC,
  kSof15 = 0xCF,
  kRst0 = 0xD0,
  kRst7 = 0xD7,
  kSoi = 0xD8,
  kEoi = 0xD9,
  kSos = 0xDA,
  kDqt = 0xDB,
  kDnl = 0xDC,
  kDri = 0xDD,
  kDhp = 0xDE,
  kExp = 0xDF,
  kApp0 = 0xE0,
  kApp15 = 0xEF,
  kJpg0 = 0xF0,
  kJpg13 = 0xFD,
  kCom = 0xFE,
  // The byte every marker begins with; more of them before a marker are fill.
  kPrefix = 0xFF,
};

}  // namespace vellumark::marker
