#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vellumark {

// Random-access bytes of an opened file (or of memory, for tests and fuzzing).
class ByteSource {
public:
  virtual ~ByteSource() = default;
  // The size when the source was opened.
  virtual std::int64_t Size() const = 0;
  // Fills dst from offset on and returns how many bytes it got: fewer than asked
  // only where the data ends. Failures throw RuntimeError.
  virtual std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) = 0;
};

}  // namespace vellumark
