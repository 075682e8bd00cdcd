#include "analysis/entropy_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "analysis/marker_code.h"

namespace vellumark {

EntropyReader::EntropyReader(BinaryFile& file, std::int64_t end, const std::atomic<bool>* interrupt)
    : file_(file), end_(end), interrupt_(interrupt), fileSize_(file.Length()) {}

void EntropyReader::Start(std::int64_t offset) {
  Reposition(offset);
  window_ = 0;
  bits_ = 0;
  loaded_ = 0;
  start_ = offset;
  extraBytes_ = 0;
  stuffed_ = 0;
  stop_ = Stop::None;
}

void EntropyReader::Reposition(std::int64_t offset) {
  chunkBase_ = offset;
  chunkStart_ = cursor_ = chunkEnd_ = nullptr;
}

bool EntropyReader::NextChunk() {
  const std::int64_t offset = Offset();
  if (offset >= end_ || (interrupt_ != nullptr && interrupt_->load(std::memory_order_relaxed))) {
    return false;
  }
  file_.SetSeek(offset + 1);
  const auto bytes = file_.Peek(1);
  chunkBase_ = offset;
  chunkStart_ = cursor_ = bytes.data();
  chunkEnd_ = chunkStart_ + std::min<std::int64_t>(static_cast<std::int64_t>(bytes.size()), end_ - offset);
  return true;
}

// As many bytes as the window has room for at once, where the block holds
// eight more and none of those taken is FF.
inline bool EntropyReader::TakeWholeBytes() {
  constexpr std::uint64_t kLowBits = 0x0101010101010101U;
  constexpr std::uint64_t kHighBits = 0x8080808080808080U;
  if (chunkEnd_ - cursor_ < 8) {
    return false;
  }
  std::uint64_t word = 0;
  std::memcpy(&word, cursor_, sizeof word);
  if constexpr (std::endian::native == std::endian::little) {
    word = __builtin_bswap64(word);
  }
  const int room = (64 - bits_) / 8;
  const std::uint64_t taken = ~std::uint64_t{0} << (64 - 8 * room);
  // A zero byte of ~word is an FF (and a borrow may flag a byte before one: then the long way).
  const std::uint64_t inverse = ~word;
  if (((inverse - kLowBits) & ~inverse & kHighBits & taken) != 0) {
    return false;
  }
  window_ |= (word & taken) >> bits_;
  bits_ += 8 * room;
  loaded_ += room;
  cursor_ += room;
  return true;
}

void EntropyReader::Fill() {
  while (bits_ <= 56 && stop_ == Stop::None) {
    if (TakeWholeBytes()) {
      continue;
    }
    if (cursor_ == chunkEnd_ && !NextChunk()) {
      StopAtEnd();
      return;
    }
    const std::uint8_t byte = *cursor_;
    if (byte != marker::kPrefix) {
      Push(byte);
      ++cursor_;
    } else if (cursor_ + 1 < chunkEnd_ && cursor_[1] == marker::kStuffedZero) {
      PushStuffed(1);
      cursor_ += 2;
    } else {
      const std::int64_t at = Offset();
      if (TakePrefix()) {
        PushStuffed(Offset() - at - 1);
      }
    }
  }
}

bool EntropyReader::TakePrefix() {
  const std::int64_t prefixAt = Offset();
  std::int64_t codeAt = prefixAt + 1;
  Reposition(codeAt);
  // A run of FF bytes may cross a block of reading.
  while (true) {
    if (cursor_ == chunkEnd_ && !NextChunk()) {
      // FF bytes at the very end of the file are not data.
      stop_ = end_ == fileSize_ ? Stop::FileEnd : Stop::Marker;
      dataEnd_ = prefixAt;
      return false;
    }
    if (*cursor_ != marker::kPrefix) {
      break;
    }
    ++cursor_;
  }
  codeAt = Offset();
  const std::uint8_t code = *cursor_;
  if (code == marker::kStuffedZero) {
    ++cursor_;
    return true;
  }
  // Inside the span only restart markers follow an FF that is not stuffing.
  const bool restart = code >= marker::kRst0 && code <= marker::kRst7;
  stop_ = restart ? Stop::Restart : Stop::Marker;
  restart_ = code - marker::kRst0;
  dataEnd_ = prefixAt;
  afterStop_ = codeAt + 1;
  return false;
}

void EntropyReader::StopAtEnd() {
  dataEnd_ = end_;
  stop_ = end_ == fileSize_ ? Stop::FileEnd : Stop::Marker;
}

bool EntropyReader::SkipLong(int count) {
  while (count > 0) {
    Refill();
    const int step = std::min({count, bits_, 32});
    if (step == 0) {
      return false;
    }
    Consume(step);
    count -= step;
  }
  return true;
}

EntropyReader::BitPosition EntropyReader::Locate(std::int64_t consumed) const {
  const std::int64_t index = consumed / 8;
  const int bit = static_cast<int>(consumed % 8);
  std::int64_t extra = extraBytes_;
  for (std::int64_t n = stuffed_ - 1; n >= 0; --n) {
    const Stuffing& stuffing = stuffing_[static_cast<std::size_t>(n) & kStuffingMask];
    if (stuffing.index < index) {
      break;
    }
    extra -= stuffing.extra;
  }
  return {start_ + index + extra, bit};
}

EntropyReader::Extra EntropyReader::FinishInterval() {
  Consume(bits_ % 8);
  const std::int64_t first = Locate(Consumed()).offset;
  SkipToStop();
  return {first, dataEnd_ - first};
}

void EntropyReader::SkipToStop() {
  window_ = 0;
  bits_ = 0;
  while (stop_ == Stop::None) {
    if (cursor_ == chunkEnd_ && !NextChunk()) {
      StopAtEnd();
      return;
    }
    const auto* prefix = static_cast<const std::uint8_t*>(
        std::memchr(cursor_, marker::kPrefix, static_cast<std::size_t>(chunkEnd_ - cursor_)));
    if (prefix == nullptr) {
      cursor_ = chunkEnd_;
    } else {
      cursor_ = prefix;
      static_cast<void>(TakePrefix());
    }
  }
}

}  // namespace vellumark
