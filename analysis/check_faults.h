#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vellumark {

// What the check of a file's pictures finds, in the order of the file.
enum class FaultKind {
  // Headers, at the segment's offset.
  NoFrame,
  BadFrame,
  ExtraFrame,
  BadScan,
  ScanParameters,       // a warning
  UnexpectedMarker,
  UnknownMarker,        // a warning
  MissingTable,
  DefaultHuffmanTable,  // a warning
  Progression,
  // Entropy-coded data.
  BadHuffmanCode,
  BadValue,
  CoefficientOverflow,
  PrematureEnd,
  RestartOutOfOrder,
  MissingRestart,
  ExtraData,            // a warning
  // From the structure walk.
  ExtraneousBytes,      // a warning
  BadLength,            // a warning
  TruncatedSegment,
  TruncatedMarker,
  // The file's end.
  MissingEoi,           // a warning
  MissingScans,
  NoScan,
};

// The JSON and text name of a kind: "bad-huffman-code" and so on.
std::string_view FaultKindName(FaultKind kind);

// The three classes a fault falls in; the worst class present decides the verdict.
enum class FaultClass { Warning, Truncation, Damage };

struct McuPosition {
  std::int64_t column = 0;
  std::int64_t row = 0;
  std::int64_t x = 0;  // the MCU's top left pixel
  std::int64_t y = 0;
};

struct CheckFault {
  FaultKind kind = FaultKind::NoFrame;
  std::int64_t offset = 0;
  std::optional<int> bit;               // 0 = the most significant bit of the byte
  std::optional<std::int64_t> length;   // file bytes, for the kinds that span some
  std::optional<std::int64_t> scan;     // from 1, in the order of the SOS segments
  std::optional<McuPosition> mcu;

  // A fault with an offset alone, or with the bytes it spans.
  static CheckFault At(FaultKind kind, std::int64_t offset, std::optional<std::int64_t> length = std::nullopt) {
    CheckFault fault;
    fault.kind = kind;
    fault.offset = offset;
    fault.length = length;
    return fault;
  }
};

// Where the file's size is given, a premature end or missing restart at it is
// the file being cut short, not damage.
FaultClass ClassOf(const CheckFault& fault, std::int64_t fileSize);

enum class Verdict { Ok, Warning, Damaged, Truncated, NotJpeg, Unsupported };

// "ok", "warning", "damaged", "truncated", "not-jpeg", "unsupported".
std::string_view VerdictName(Verdict verdict);

}  // namespace vellumark
