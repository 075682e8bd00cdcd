#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "analysis/marker_code.h"
#include "platform/byte_source.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// A file of 4 GiB and a few bytes that exists only as a rule, so the walk can
// reach positions past 2 GiB and 4 GiB without anything the size of the file in
// memory or on disk:
//
//   offset 0          FF D8                  SOI
//   offset 2          FF FE FF FE            COM length 65534, zeros to 65537
//   offset 65538      FF FE FF FF            COM length 65535, zeros; again every
//   ...                                      65537 bytes up to 4294901759
//   offset 4294967296 tail                   whatever the test puts there
class HugeByteSource : public ByteSource {
public:
  static constexpr std::int64_t kTailOffset = std::int64_t{1} << 32;
  static constexpr std::int64_t kStride = 65537;  // FF FE, then 65535 bytes

  explicit HugeByteSource(Bytes tail) : tail_(std::move(tail)) {}

  std::int64_t Size() const override { return kTailOffset + static_cast<std::int64_t>(tail_.size()); }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    if (offset < 0 || offset >= Size()) {
      return 0;
    }
    dst = dst.first(static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(dst.size()), Size() - offset)));
    std::memset(dst.data(), 0, dst.size());
    Put(0, {marker::kPrefix, marker::kSoi, marker::kPrefix, marker::kCom, 0xFF, 0xFE}, offset, dst);
    // The long segments start at every offset that is 1 more than a multiple of
    // the stride (2^32 is one too), from 65538 on.
    const std::int64_t from = std::max<std::int64_t>(kStride + 1, offset - 3);
    for (std::int64_t at = (from - 1 + kStride - 1) / kStride * kStride + 1;
         at < kTailOffset && at < offset + static_cast<std::int64_t>(dst.size()); at += kStride) {
      Put(at, {marker::kPrefix, marker::kCom, 0xFF, 0xFF}, offset, dst);
    }
    Put(kTailOffset, tail_, offset, dst);
    return dst.size();
  }

private:
  // Copies the part of bytes (standing at file offset at) that falls into dst.
  static void Put(std::int64_t at, const Bytes& bytes, std::int64_t offset, std::span<std::uint8_t> dst) {
    const std::int64_t end = offset + static_cast<std::int64_t>(dst.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const std::int64_t position = at + static_cast<std::int64_t>(i);
      if (position >= offset && position < end) {
        dst[static_cast<std::size_t>(position - offset)] = bytes[i];
      }
    }
  }

  Bytes tail_;
};

}  // namespace vellumark::testing
