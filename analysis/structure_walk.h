#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/binary_file.h"

namespace vellumark {

// The whole structure of a file, from SOI through every scan's entropy-coded
// data to EOI and what follows it, walked as ITU-T T.81 (B.1) reads markers.
// Unlike the marker report, which stops at the first scan, this walk goes on
// past damage the way a decoder would. Offsets count from 0.

enum class ProblemKind {
  NoSoi,             // the file does not begin with FF D8 and is not walked
  ExtraneousBytes,   // bytes where a marker should be, skipped up to the next one
  BadLength,         // a length field below 2, at that field's offset
  TruncatedSegment,  // a segment that runs past the end of the file
  TruncatedMarker,   // the file ends inside a marker or its length field
  MissingEoi,        // the file ends before EOI, at its size
};

// The kind's name in the JSON report, which readers match on.
constexpr std::string_view ProblemKindName(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::NoSoi: return "no-soi";
    case ProblemKind::ExtraneousBytes: return "extraneous-bytes";
    case ProblemKind::BadLength: return "bad-length";
    case ProblemKind::TruncatedSegment: return "truncated-segment";
    case ProblemKind::TruncatedMarker: return "truncated-marker";
    case ProblemKind::MissingEoi: return "missing-eoi";
  }
  return {};
}

struct StructureProblem {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  ProblemKind kind = ProblemKind::NoSoi;
};

// A marker and, where it has one, its segment.
struct StructureSegment {
  std::int64_t offset = 0;  // the first FF byte
  std::uint8_t code = 0;
  std::int64_t fill = 0;  // FF bytes before the last one
  // The declared length, for every marker but SOI, EOI, RST0-RST7 and TEM.
  std::optional<std::int32_t> length;
  bool truncated = false;  // the segment runs past the end of the file
  // The bytes after the length field, only for a whole segment of length 2 or
  // more. They lie in the file's buffer: valid during the call only.
  std::span<const std::uint8_t> payload;

  // Whether payload holds the whole segment: a length of 2 or more, within the file.
  bool Whole() const { return length && *length >= 2 && !truncated; }
};

// What the walk tells, in the order of the file. Each call may be left out.
class StructureListener {
public:
  virtual ~StructureListener() = default;
  // First of all: whether the file begins with SOI and is walked.
  virtual void Begin([[maybe_unused]] std::int64_t size, [[maybe_unused]] bool jpeg) {}
  virtual void Segment([[maybe_unused]] const StructureSegment& segment) {}
  // Follows every SOS segment that is whole and of length 2 or more, unless
  // the walk stops inside the data: the entropy-coded data after it, up to the
  // first FF of the next marker or the end of the file.
  virtual void EntropyData([[maybe_unused]] std::int64_t offset, [[maybe_unused]] std::int64_t length,
                           [[maybe_unused]] std::int64_t restarts) {}
  // The bytes after EOI, when there are any.
  virtual void Trailing([[maybe_unused]] std::int64_t offset, [[maybe_unused]] std::int64_t length,
                        [[maybe_unused]] bool beginsWithSoi) {}
  virtual void Problem([[maybe_unused]] const StructureProblem& problem) {}
};

// Walks file from its first byte to EOI or its end, whichever comes first.
// Returns false where *interrupt became true first: the walk stops within a
// block of reading. Read failures throw RuntimeError; what was told stays told.
// The listener sees every byte of a JPEG file in exactly one place: a marker's
// span, an entropy span, a problem's bytes or the trailing bytes.
[[nodiscard]] bool WalkStructure(BinaryFile& file, StructureListener& listener,
                                 const std::atomic<bool>* interrupt = nullptr);

}  // namespace vellumark
