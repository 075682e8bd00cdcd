#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vellumark {

// Forward-only reads over a segment buffer. Callers check Remaining() before
// every read; a read past the end would be a fault of the caller, so it throws
// rather than read outside the buffer.
class ByteReader {
public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size() - position_; }
  void Skip(std::size_t count) { Take(count); }
  std::uint8_t Byte() { return Take(1)[0]; }
  std::span<const std::uint8_t> Take(std::size_t count);

private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace vellumark
