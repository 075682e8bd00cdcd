#include "platform/binary_file.h"

#include <algorithm>
#include <utility>

#include "platform/runtime_error.h"

namespace vellumark {

namespace {
// Most reports stop within the first few hundred bytes, so the first read is
// small; each later refill doubles, up to a block that holds the longest segment
// (65535 bytes) with room to spare, so long walks make few system calls.
constexpr std::int64_t kFirstFillSize = 4 * 1024;
constexpr std::int64_t kLargestFillSize = 128 * 1024;
}  // namespace

thread_local BinaryFile::Buffer BinaryFile::spare_;

BinaryFile::BinaryFile(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), length_(source_->Size()), buffer_(std::exchange(spare_, {})),
      fillSize_(kFirstFillSize) {}

BinaryFile::~BinaryFile() {
  if (buffer_.capacity > spare_.capacity) {
    spare_ = std::move(buffer_);
  }
}

std::int64_t BinaryFile::Remaining() const { return std::max<std::int64_t>(0, length_ - position_ + 1); }

void BinaryFile::Close() { source_.reset(); }

void BinaryFile::Fill(std::int64_t offset, std::int64_t count) {
  const std::int64_t size = std::min(std::max(count, fillSize_), length_ - offset);
  fillSize_ = std::min(fillSize_ * 2, kLargestFillSize);
  if (size > buffer_.capacity) {
    buffer_ = {std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size)), size};
  }
  bufferOffset_ = offset;
  bufferSize_ = 0;  // where the read throws, nothing stale is taken for these bytes
  bufferSize_ = static_cast<std::int64_t>(source_->ReadAt(offset, {buffer_.bytes.get(), static_cast<std::size_t>(size)}));
}

std::span<const std::uint8_t> BinaryFile::Peek(std::int64_t atLeast) {
  const std::int64_t count = std::min(atLeast, Remaining());
  if (!IsOpen() || count < 0 || position_ < 1) {
    throw MakeError(error_number::kPastEndOfFile);
  }
  if (count == 0) {
    return {};
  }
  const std::int64_t offset = position_ - 1;
  if (offset < bufferOffset_ || offset + count > bufferOffset_ + bufferSize_) {
    Fill(offset, count);
    if (bufferSize_ < count) {
      throw MakeError(error_number::kPastEndOfFile);
    }
  }
  const std::int64_t skipped = offset - bufferOffset_;
  return {buffer_.bytes.get() + skipped, static_cast<std::size_t>(bufferSize_ - skipped)};
}

std::vector<std::uint8_t> BinaryFile::ReadBytes(std::int64_t count) {
  if (count < 0 || count > Remaining()) {
    throw MakeError(error_number::kPastEndOfFile);
  }
  const auto bytes = Peek(count).first(static_cast<std::size_t>(count));
  position_ += count;
  return {bytes.begin(), bytes.end()};
}

std::uint8_t BinaryFile::ReadByte() {
  const std::int64_t offset = position_ - 1;
  if (IsOpen() && offset >= bufferOffset_ && offset < bufferOffset_ + bufferSize_) {
    ++position_;
    return buffer_.bytes[static_cast<std::size_t>(offset - bufferOffset_)];
  }
  return ReadBytes(1)[0];
}

}  // namespace vellumark
