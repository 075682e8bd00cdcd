#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/binary_file.h"

namespace vellumark {

// The bits of one scan's entropy-coded data, read from the file a block at a
// time into a 64-bit window. A stuffed FF 00 (or FF FF ... 00) is one data
// byte at its first FF; a restart marker, the marker after the data and the
// file's end stop the data, and past a stop the window holds zeros that
// Bits() does not count. Nothing is read outside [start, end) of the span.
class EntropyReader {
public:
  enum class Stop { None, Restart, Marker, FileEnd };

  // Whole bytes after an interval's last code, before the data stops.
  struct Extra {
    std::int64_t offset;
    std::int64_t length;  // in file bytes: a stuffed FF 00 counts 2
  };

  // end: where the span ends, the first FF of the next marker or the file's size.
  // Once *interrupt is true the data stops at the next block of reading.
  EntropyReader(BinaryFile& file, std::int64_t end, const std::atomic<bool>* interrupt = nullptr);

  // Reads data from offset on, with an empty window.
  void Start(std::int64_t offset);

  // At least 32 bits in the window, unless the data stops first.
  void Refill() {
    if (bits_ < 32) {
      Fill();
    }
  }
  std::uint32_t Top16() const { return static_cast<std::uint32_t>(window_ >> 48); }
  int Bits() const { return bits_; }
  void Consume(int count) {
    window_ <<= count;
    bits_ -= count;
  }
  // Skips count bits, refilling as it goes; false where the data stops first.
  [[nodiscard]] bool Skip(int count) {
    Refill();
    if (count <= bits_) {
      Consume(count);
      return true;
    }
    return SkipLong(count);
  }
  // The next count (at most 16) bits as a number; the caller checked Bits().
  std::uint32_t Take(int count) {
    const auto value = count == 0 ? 0U : static_cast<std::uint32_t>(window_ >> (64 - count));
    Consume(count);
    return value;
  }

  // Data bits consumed since Start.
  std::int64_t Consumed() const { return loaded_ * 8 - bits_; }
  struct BitPosition {
    std::int64_t offset;
    int bit;
  };
  // Where a position Consumed() gave lies in the file, up to the first byte
  // not loaded yet; valid for positions taken since the last few codes,
  // which is all a fault needs.
  BitPosition Locate(std::int64_t consumed) const;

  // Ends an interval after its last code: the rest of the byte is padding,
  // whole bytes up to the stop are extra. Reads on to the stop.
  Extra FinishInterval();
  // Gives up the rest of the data up to the next stop, after a fault.
  void SkipToStop();

  Stop StopKind() const { return stop_; }
  int RestartNumber() const { return restart_; }
  // Where a fault at the stop lies: the marker's first FF, or the file's size.
  std::int64_t StopOffset() const { return stop_ == Stop::FileEnd ? fileSize_ : dataEnd_; }
  // After a restart marker: where the next interval's data begins.
  std::int64_t AfterRestart() const { return afterStop_; }

private:
  bool SkipLong(int count);
  void Fill();
  bool NextChunk();
  // At an FF: a stuffed data byte (true, read past it) or a stop (false).
  bool TakePrefix();
  void StopAtEnd();
  std::int64_t Offset() const { return chunkBase_ + (cursor_ - chunkStart_); }
  void Reposition(std::int64_t offset);
  void Push(std::uint8_t byte) {
    window_ |= static_cast<std::uint64_t>(byte) << (56 - bits_);
    bits_ += 8;
    ++loaded_;
  }
  // A data FF that took extra bytes of the file (its stuffing and fill).
  void PushStuffed(std::int64_t extra) {
    stuffing_[static_cast<std::size_t>(stuffed_++) & kStuffingMask] = {loaded_, extra};
    extraBytes_ += extra;
    Push(0xFF);
  }
  bool TakeWholeBytes();

  // Enough to place any byte the window holds: it holds at most eight.
  static constexpr std::size_t kStuffingMask = 15;
  struct Stuffing {
    std::int64_t index;  // the data byte's number since Start
    std::int64_t extra;  // file bytes it took beyond one
  };

  BinaryFile& file_;
  std::int64_t end_;
  const std::atomic<bool>* interrupt_;
  std::int64_t fileSize_;
  const std::uint8_t* chunkStart_ = nullptr;
  const std::uint8_t* cursor_ = nullptr;
  const std::uint8_t* chunkEnd_ = nullptr;
  std::int64_t chunkBase_ = 0;
  std::uint64_t window_ = 0;
  int bits_ = 0;
  std::int64_t loaded_ = 0;
  // Where data byte i lies: start_ + i + the extra bytes of the stuffed bytes before it.
  std::int64_t start_ = 0;
  std::int64_t extraBytes_ = 0;
  std::int64_t stuffed_ = 0;
  std::array<Stuffing, kStuffingMask + 1> stuffing_{};
  Stop stop_ = Stop::None;
  int restart_ = 0;
  std::int64_t dataEnd_ = 0;
  std::int64_t afterStop_ = 0;
};

}  // namespace vellumark
