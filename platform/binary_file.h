#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/byte_source.h"

namespace vellumark {

// A file opened for binary reading, with a read position counted from 1 (the
// position of the next byte). Reads go through a buffer, so reading "one byte at
// a time" costs no system call per byte. A read beyond the end is never served
// with made-up bytes: it raises error 62, which also covers a file that shrank
// while it was open.
class BinaryFile {
public:
  explicit BinaryFile(std::unique_ptr<ByteSource> source);
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // The length taken when the file was opened.
  std::int64_t Length() const { return length_; }
  std::int64_t Seek() const { return position_; }
  void SetSeek(std::int64_t position) { position_ = position; }
  // Bytes from the read position to the end, 0 when the position is past it.
  std::int64_t Remaining() const;

  std::uint8_t ReadByte();
  // Reads count bytes from the read position on; the position ends after them.
  std::vector<std::uint8_t> ReadBytes(std::int64_t count);
  // The bytes from the read position on that the buffer holds, without copying
  // them: at least atLeast of them (fewer only where the file ends), more where
  // they are at hand. Valid until the next read; the position stays.
  std::span<const std::uint8_t> Peek(std::int64_t atLeast);

  bool IsOpen() const { return source_ != nullptr; }
  // Closing a closed file is harmless.
  void Close();

private:
  void Fill(std::int64_t offset, std::int64_t count);

  std::unique_ptr<ByteSource> source_;
  std::int64_t length_;
  std::int64_t position_ = 1;
  // Allocated without being cleared, and only ever grown: the bytes a read
  // brings in are all that is looked at. A closed file leaves it to the next
  // one opened on the same thread, so a batch of files reads them all through
  // one buffer instead of allocating and freeing one for each.
  struct Buffer {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::int64_t capacity = 0;
  };
  static thread_local Buffer spare_;
  Buffer buffer_;
  std::int64_t bufferOffset_ = 0;  // file offset (from 0) of buffer_[0]
  std::int64_t bufferSize_ = 0;    // bytes the last read brought in
  std::int64_t fillSize_;
};

}  // namespace vellumark
