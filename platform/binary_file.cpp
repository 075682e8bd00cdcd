#include "platform/binary_file.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace vellumark {

namespace {
// Most reports stop within the first few hundred bytes, so the first read is
// small; each later refill doubles, up to a block that holds the longest segment
// (65535 bytes) with room to spare, so long walks make few system calls.
constexpr std::int64_t kFirstFillSize = 4 * 1024;
constexpr std::int64_t kLargestFillSize = 128 * 1024;
}  // namespace

BinaryFile::BinaryFile(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), length_(source_->Size()), fillSize_(kFirstFillSize) {}

std::int64_t BinaryFile::Remaining() const { return std::max<std::int64_t>(0, length_ - position_ + 1); }

void BinaryFile::Close() { source_.reset(); }

void BinaryFile::Fill(std::int64_t offset, std::int64_t count) {
  const std::int64_t size = std::min(std::max(count, fillSize_), length_ - offset);
  fillSize_ = std::min(fillSize_ * 2, kLargestFillSize);
  buffer_.resize(static_cast<std::size_t>(size));
  bufferOffset_ = offset;
  const std::size_t got = source_->ReadAt(offset, buffer_);
  buffer_.resize(got);
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
  const std::int64_t bufferEnd = bufferOffset_ + static_cast<std::int64_t>(buffer_.size());
  if (offset < bufferOffset_ || offset + count > bufferEnd) {
    Fill(offset, count);
    if (static_cast<std::int64_t>(buffer_.size()) < count) {
      throw MakeError(error_number::kPastEndOfFile);
    }
  }
  return std::span<const std::uint8_t>(buffer_).subspan(static_cast<std::size_t>(offset - bufferOffset_));
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
  if (IsOpen() && offset >= bufferOffset_ &&
      offset < bufferOffset_ + static_cast<std::int64_t>(buffer_.size())) {
    ++position_;
    return buffer_[static_cast<std::size_t>(offset - bufferOffset_)];
  }
  return ReadBytes(1)[0];
}

}  // namespace vellumark
