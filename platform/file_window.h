#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/binary_file.h"
#include "platform/byte_source.h"

namespace vellumark {

// A stretch of an open file read as a file of its own, so that a picture
// inside another can be walked and checked alone. Reads go through the outer
// file, which must not be read elsewhere meanwhile; the stretch must lie
// within it.
class FileWindow : public ByteSource {
public:
  FileWindow(BinaryFile& file, std::int64_t offset, std::int64_t length)
      : file_(file), offset_(offset), length_(length) {}

  std::int64_t Size() const override { return length_; }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    if (offset < 0 || offset >= length_) {
      return 0;
    }
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(dst.size()), length_ - offset));
    std::size_t done = 0;
    file_.SetSeek(offset_ + offset + 1);
    while (done < wanted) {
      // In pieces the outer buffer holds anyway, so it never grows for us.
      const auto bytes = file_.Peek(std::min<std::int64_t>(static_cast<std::int64_t>(wanted - done), kPiece));
      const std::size_t n = std::min(bytes.size(), wanted - done);
      if (n == 0) {
        break;
      }
      std::memcpy(dst.data() + done, bytes.data(), n);
      done += n;
      file_.SetSeek(file_.Seek() + static_cast<std::int64_t>(n));
    }
    return done;
  }

private:
  static constexpr std::int64_t kPiece = 64 * 1024;

  BinaryFile& file_;
  std::int64_t offset_;
  std::int64_t length_;
};

}  // namespace vellumark
