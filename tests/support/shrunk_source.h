#pragma once

#include <cstdint>
#include <span>

#include "platform/memory_byte_source.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// A file that shrank after it was opened: it still claims its old size, but only
// the bytes it has left can be read.
class ShrunkByteSource : public ByteSource {
public:
  ShrunkByteSource(Bytes remaining, std::int64_t claimedSize)
      : remaining_(std::move(remaining)), claimedSize_(claimedSize) {}
  std::int64_t Size() const override { return claimedSize_; }
  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    return remaining_.ReadAt(offset, dst);
  }

private:
  MemoryByteSource remaining_;
  std::int64_t claimedSize_;
};

}  // namespace vellumark::testing
