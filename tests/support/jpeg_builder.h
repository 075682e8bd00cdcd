#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "analysis/marker_code.h"

namespace vellumark::testing {

using Bytes = std::vector<std::uint8_t>;

// Parts laid one after the other, e.g. the tables of one segment.
inline Bytes Join(std::initializer_list<Bytes> parts) {
  std::size_t size = 0;
  for (const Bytes& part : parts) {
    size += part.size();
  }
  Bytes bytes;
  bytes.reserve(size);
  for (const Bytes& part : parts) {
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

// A segment as the walker hands it to the table detail: the big-endian length
// (payload + 2), then the payload.
inline Bytes SegmentBytes(const Bytes& payload) {
  const std::size_t length = payload.size() + 2;
  return Join({{static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)}, payload});
}

// One DQT table: the precision-and-identifier byte, then the values in file
// (zig-zag) order.
inline Bytes DqtTable(std::uint8_t precisionAndId, const Bytes& values) {
  return Join({{precisionAndId}, values});
}

// One DHT table: the class-and-identifier byte, the sixteen code-length counts,
// the symbols.
inline Bytes DhtTable(std::uint8_t classAndId, const std::array<std::uint8_t, 16>& counts,
                      const Bytes& symbols) {
  return Join({{classAndId}, Bytes(counts.begin(), counts.end()), symbols});
}

// A JFIF APP0 payload: identifier, version 1.01, no units, density 1:1, the
// thumbnail size and its RGB bytes (which may disagree with the size).
inline Bytes JfifPayload(std::uint8_t width, std::uint8_t height, const Bytes& rgb) {
  return Join({{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, width, height}, rgb});
}

// A JPEG file, or a damaged one, built marker by marker.
class JpegBuilder {
public:
  // Bytes exactly as they stand in the file.
  JpegBuilder& Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  JpegBuilder& Text(std::string_view text) { return Raw(Bytes(text.begin(), text.end())); }
  JpegBuilder& Repeat(std::size_t count, std::uint8_t value) { return Raw(Bytes(count, value)); }
  // FF code, with nothing after it.
  JpegBuilder& Marker(std::uint8_t code) { return Raw({marker::kPrefix, code}); }
  // FF code, a declared length, and no payload: the payload (if any) follows
  // with Raw, so the length can lie about it.
  JpegBuilder& MarkerWithLength(std::uint8_t code, std::uint16_t declared) {
    return Raw({marker::kPrefix, code, static_cast<std::uint8_t>(declared >> 8),
                static_cast<std::uint8_t>(declared & 0xFF)});
  }
  // FF code, the true length, the payload.
  JpegBuilder& Segment(std::uint8_t code, const Bytes& payload) {
    Marker(code);
    return Raw(SegmentBytes(payload));
  }
  Bytes Build() const { return bytes_; }

private:
  Bytes bytes_;
};

}  // namespace vellumark::testing
