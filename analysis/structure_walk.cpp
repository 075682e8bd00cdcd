#include "analysis/structure_walk.h"

#include <algorithm>
#include <cstring>

#include "analysis/length_field.h"
#include "analysis/marker_code.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

// SOI, EOI, RST0-RST7 and TEM stand alone; every other marker has a length.
bool IsRestart(std::uint8_t code) { return code >= marker::kRst0 && code <= marker::kRst7; }

bool StandsAlone(std::uint8_t code) {
  return code == marker::kSoi || code == marker::kEoi || code == marker::kTem || IsRestart(code);
}

// Unwinds the walk from wherever it noticed the request to stop.
struct Interruption {};

class StructureWalker {
public:
  StructureWalker(BinaryFile& file, StructureListener& listener, const std::atomic<bool>* interrupt)
      : file_(file), listener_(listener), interrupt_(interrupt), size_(file.Length()) {}

  void Run() {
    const bool jpeg = size_ >= 2 && ByteAt(0) == marker::kPrefix && ByteAt(1) == marker::kSoi;
    listener_.Begin(size_, jpeg);
    if (!jpeg) {
      listener_.Problem({0, 0, ProblemKind::NoSoi});
      return;
    }
    for (std::optional<std::int64_t> at = 0; at; at = Step(*at)) {
      CheckInterrupt();
    }
  }

private:
  // From a marker position to the next one; nullopt where the walk ends.
  std::optional<std::int64_t> Step(std::int64_t at) {
    if (at == size_) {
      listener_.Problem({size_, 0, ProblemKind::MissingEoi});
      return std::nullopt;
    }
    const std::int64_t codeAt = SkipRun(at);
    if (codeAt == at || (codeAt < size_ && ByteAt(codeAt) == marker::kStuffedZero)) {
      return SkipExtraneousBytes(at);
    }
    if (codeAt == size_) {
      TruncatedMarker(at);
      return std::nullopt;
    }
    return Marker(at, codeAt);
  }

  std::optional<std::int64_t> Marker(std::int64_t at, std::int64_t codeAt) {
    StructureSegment segment;
    segment.offset = at;
    segment.code = ByteAt(codeAt);
    segment.fill = codeAt - at - 1;
    const std::int64_t lengthAt = codeAt + 1;
    if (StandsAlone(segment.code)) {
      listener_.Segment(segment);
      if (segment.code == marker::kEoi) {
        Trailing(lengthAt);
        return std::nullopt;
      }
      return lengthAt;
    }
    if (size_ - lengthAt < kLengthFieldSize) {
      TruncatedMarker(at);
      return std::nullopt;
    }
    const std::int32_t length = BigEndianWord(ByteAt(lengthAt), ByteAt(lengthAt + 1));
    segment.length = length;
    // Skipped as libjpeg skips it: the walk goes on right after the field.
    if (length < kLengthFieldSize) {
      listener_.Segment(segment);
      listener_.Problem({lengthAt, 0, ProblemKind::BadLength});
      return lengthAt + kLengthFieldSize;
    }
    if (length > size_ - lengthAt) {
      segment.truncated = true;
      listener_.Segment(segment);
      listener_.Problem({at, 0, ProblemKind::TruncatedSegment});
      listener_.Problem({size_, 0, ProblemKind::MissingEoi});
      return std::nullopt;
    }
    const auto payloadSize = static_cast<std::size_t>(length - kLengthFieldSize);
    segment.payload = View(lengthAt + kLengthFieldSize, length - kLengthFieldSize).first(payloadSize);
    listener_.Segment(segment);
    const std::int64_t end = lengthAt + length;
    return segment.code == marker::kSos ? EntropyData(end) : end;
  }

  // Stuffed bytes and restart markers belong to the data; any other marker
  // ends it at the first FF of its run.
  std::optional<std::int64_t> EntropyData(std::int64_t start) {
    std::int64_t restarts = 0;
    for (PrefixRun run = NextRun(start);; run = NextRun(run.codeAt + 1)) {
      if (run.codeAt == size_) {
        listener_.EntropyData(start, size_ - start, restarts);
        listener_.Problem({size_, 0, ProblemKind::MissingEoi});
        return std::nullopt;
      }
      if (run.code != marker::kStuffedZero && !IsRestart(run.code)) {
        listener_.EntropyData(start, run.prefixAt - start, restarts);
        return run.prefixAt;
      }
      restarts += IsRestart(run.code) ? 1 : 0;
    }
  }

  // Bytes where a marker should be, up to the first FF of the next marker.
  std::optional<std::int64_t> SkipExtraneousBytes(std::int64_t from) {
    PrefixRun run = NextRun(from);
    while (run.codeAt < size_ && run.code == marker::kStuffedZero) {
      run = NextRun(run.codeAt + 1);
    }
    listener_.Problem({from, run.prefixAt - from, ProblemKind::ExtraneousBytes});
    if (run.codeAt < size_) {
      return run.prefixAt;
    }
    if (run.prefixAt < size_) {
      TruncatedMarker(run.prefixAt);
    } else {
      listener_.Problem({size_, 0, ProblemKind::MissingEoi});
    }
    return std::nullopt;
  }

  void TruncatedMarker(std::int64_t at) {
    listener_.Problem({at, size_ - at, ProblemKind::TruncatedMarker});
    listener_.Problem({size_, 0, ProblemKind::MissingEoi});
  }

  void Trailing(std::int64_t at) {
    if (at < size_) {
      const bool soi = size_ - at >= 2 && ByteAt(at) == marker::kPrefix && ByteAt(at + 1) == marker::kSoi;
      listener_.Trailing(at, size_ - at, soi);
    }
  }

  // A run of FF bytes and the byte after it. Both offsets are the size where no
  // FF follows; codeAt is the size where the file ends inside the run.
  struct PrefixRun {
    std::int64_t prefixAt;
    std::int64_t codeAt;
    std::uint8_t code;  // the byte at codeAt, where that lies in the file
  };

  PrefixRun NextRun(std::int64_t at) {
    CheckInterrupt();
    const std::int64_t prefixAt = FindPrefix(at);
    if (prefixAt == size_) {
      return {size_, size_, 0};
    }
    // Mostly a single FF, with its code in the bytes already at hand.
    const auto pair = View(prefixAt, 2);
    if (pair.size() >= 2 && pair[1] != marker::kPrefix) {
      return {prefixAt, prefixAt + 1, pair[1]};
    }
    const std::int64_t codeAt = SkipRun(prefixAt);
    return {prefixAt, codeAt, codeAt < size_ ? ByteAt(codeAt) : std::uint8_t{0}};
  }

  // The first FF at or after at, or the size where there is none. memchr finds
  // it many bytes at a time: entropy-coded data is most of a file.
  std::int64_t FindPrefix(std::int64_t at) {
    while (at < size_) {
      const auto bytes = View(at, 1);
      if (const void* found = std::memchr(bytes.data(), marker::kPrefix, bytes.size())) {
        return at + (static_cast<const std::uint8_t*>(found) - bytes.data());
      }
      at += static_cast<std::int64_t>(bytes.size());
      CheckInterrupt();
    }
    return size_;
  }

  // The first byte at or after at that is not FF, or the size.
  std::int64_t SkipRun(std::int64_t at) {
    while (at < size_) {
      const auto bytes = View(at, 1);
      const auto other = std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != marker::kPrefix; });
      if (other != bytes.end()) {
        return at + (other - bytes.begin());
      }
      at += static_cast<std::int64_t>(bytes.size());
      CheckInterrupt();
    }
    return size_;
  }

  std::uint8_t ByteAt(std::int64_t offset) { return View(offset, 1)[0]; }

  // At least count bytes from offset on, as far as the file goes.
  std::span<const std::uint8_t> View(std::int64_t offset, std::int64_t count) {
    file_.SetSeek(offset + 1);
    return file_.Peek(count);
  }

  void CheckInterrupt() const {
    if (interrupt_ != nullptr && interrupt_->load(std::memory_order_relaxed)) {
      throw Interruption{};
    }
  }

  BinaryFile& file_;
  StructureListener& listener_;
  const std::atomic<bool>* interrupt_;
  std::int64_t size_;
};

}  // namespace

bool WalkStructure(BinaryFile& file, StructureListener& listener, const std::atomic<bool>* interrupt) {
  try {
    StructureWalker(file, listener, interrupt).Run();
  } catch (const Interruption&) {
    return false;
  }
  return true;
}

}  // namespace vellumark
