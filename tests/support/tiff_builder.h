#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// One IFD entry: tag, type (3 SHORT, 4 LONG, 7 UNDEFINED), count, and the value
// or value offset (a SHORT with count 1 is written in the first two bytes).
struct IfdEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint32_t value = 0;
};

// TIFF bytes in either byte order, offsets counting from the header's first byte.
class TiffBuilder {
public:
  explicit TiffBuilder(bool bigEndian) : bigEndian_(bigEndian) {}

  // "II*\0" or "MM\0*" and the first IFD's offset.
  TiffBuilder& Header(std::uint32_t firstIfd) {
    Raw(bigEndian_ ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0});
    return U32(firstIfd);
  }
  // The entry count, the entries, the next IFD's offset.
  TiffBuilder& Ifd(std::initializer_list<IfdEntry> entries, std::uint32_t next) {
    U16(static_cast<std::uint16_t>(entries.size()));
    for (const IfdEntry& entry : entries) {
      U16(entry.tag).U16(entry.type).U32(entry.count);
      if (entry.type == 3 && entry.count == 1) {
        U16(static_cast<std::uint16_t>(entry.value)).U16(0);
      } else {
        U32(entry.value);
      }
    }
    return U32(next);
  }
  TiffBuilder& U16(std::uint16_t value) {
    const std::uint8_t high = static_cast<std::uint8_t>(value >> 8);
    const std::uint8_t low = static_cast<std::uint8_t>(value & 0xFF);
    return Raw(bigEndian_ ? Bytes{high, low} : Bytes{low, high});
  }
  TiffBuilder& U32(std::uint32_t value) {
    const auto high = static_cast<std::uint16_t>(value >> 16);
    const auto low = static_cast<std::uint16_t>(value & 0xFFFF);
    return bigEndian_ ? U16(high).U16(low) : U16(low).U16(high);
  }
  TiffBuilder& Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // A segment payload: its identifier (zero bytes included), then the TIFF bytes.
  Bytes After(std::string_view identifier) const { return Join({Bytes(identifier.begin(), identifier.end()), bytes_}); }

private:
  bool bigEndian_;
  Bytes bytes_;
};

}  // namespace vellumark::testing
