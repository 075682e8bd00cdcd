#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/image_declaration.h"

namespace vellumark {

// One 12-byte IFD entry; `at` is where it begins in the TIFF bytes, its value
// or value offset 8 bytes further on.
struct TiffEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::size_t at = 0;
};

struct TiffDirectory {
  std::size_t at = 0;
  // The entry count, the entries and the next-IFD offset, as declared.
  std::uint64_t length = 0;
  // Only the entries wholly inside the TIFF bytes.
  std::vector<TiffEntry> entries;
  std::uint32_t next = 0;
  // Every entry and the next-IFD offset are inside the TIFF bytes.
  bool whole = false;

  [[nodiscard]] const TiffEntry* Find(std::uint16_t tag) const;
};

// A TIFF header and its IFDs over the bytes that hold them (an Exif or MPF
// segment after its identifier), whose offsets count from the header's first
// byte. Every offset read from the bytes is checked against them before use.
class TiffReader {
public:
  // The TIFF bytes after a segment's identifier, where they begin with "II*\0"
  // or "MM\0*" and a first-IFD offset; otherwise nothing, and a fault over them.
  [[nodiscard]] static std::optional<TiffReader> OpenAfter(std::span<const std::uint8_t> payload,
                                                           std::int64_t payloadOffset, std::size_t identifierSize,
                                                           std::vector<DeclarationFault>& faults);

  // The IFDs from the first one on, along their next-IFD offsets, at most
  // `most` of them. A loop, an offset outside the bytes or a directory cut off
  // by their end stops the chain with a fault; a cut directory is still listed.
  [[nodiscard]] std::vector<TiffDirectory> Chain(std::size_t most, std::vector<DeclarationFault>& faults) const;

  // A SHORT or LONG entry holding one number.
  [[nodiscard]] std::optional<std::uint32_t> Number(const TiffEntry& entry) const;
  // The size of the entry's value: count times its type's size (0 for a type
  // TIFF does not define). Never overflows: at most 8 * 0xFFFFFFFF.
  [[nodiscard]] static std::uint64_t ByteCount(const TiffEntry& entry);
  // Where the value lies: in the entry itself when it fits in 4 bytes, else at
  // the offset the entry holds, which may lie outside the bytes.
  [[nodiscard]] std::uint64_t ValueAt(const TiffEntry& entry) const;

  // Numbers in the header's byte order; the caller has checked that they lie inside.
  [[nodiscard]] std::uint16_t U16(std::size_t at) const;
  [[nodiscard]] std::uint32_t U32(std::size_t at) const;

  [[nodiscard]] std::size_t Size() const { return tiff_.size(); }
  [[nodiscard]] std::int64_t FileOffset(std::uint64_t at) const { return fileOffset_ + static_cast<std::int64_t>(at); }
  // The declared bytes [at, at + length) as far as they lie inside the TIFF bytes.
  [[nodiscard]] DeclarationFault Fault(std::uint64_t at, std::uint64_t length) const;

private:
  TiffReader(std::span<const std::uint8_t> tiff, std::int64_t fileOffset, bool bigEndian)
      : tiff_(tiff), fileOffset_(fileOffset), bigEndian_(bigEndian) {}

  [[nodiscard]] std::optional<TiffDirectory> Directory(std::uint32_t at) const;

  std::span<const std::uint8_t> tiff_;
  std::int64_t fileOffset_ = 0;
  bool bigEndian_ = false;
};

}  // namespace vellumark
