#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/byte_source.h"

namespace vellumark {

// A file held in memory: the same reads as a file on disk, with no disk.
class MemoryByteSource : public ByteSource {
public:
  explicit MemoryByteSource(std::vector<std::uint8_t> bytes)
      : bytes_(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes))) {}
  // Bytes that several sources read at once, held only once.
  explicit MemoryByteSource(std::shared_ptr<const std::vector<std::uint8_t>> bytes) : bytes_(std::move(bytes)) {}

  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_->size()); }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    if (offset < 0 || offset >= Size()) {
      return 0;
    }
    const auto start = static_cast<std::size_t>(offset);
    const std::size_t n = std::min(dst.size(), bytes_->size() - start);
    std::copy_n(bytes_->begin() + static_cast<std::ptrdiff_t>(start), n, dst.begin());
    return n;
  }

private:
  std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
};

}  // namespace vellumark
