#include "analysis/tiff_directory.h"

#include <algorithm>
#include <array>

namespace vellumark {
namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kCountSize = 2;
constexpr std::size_t kNextSize = 4;
constexpr std::size_t kInlineValueSize = 4;
constexpr std::size_t kValueField = 8;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;

// Bytes per value of TIFF types 1 to 12 (BYTE to DOUBLE); 0 for the rest.
constexpr std::array<std::uint8_t, 13> kTypeSizes = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

}  // namespace

const TiffEntry* TiffDirectory::Find(std::uint16_t tag) const {
  const auto found = std::find_if(entries.begin(), entries.end(), [tag](const TiffEntry& e) { return e.tag == tag; });
  return found == entries.end() ? nullptr : &*found;
}

std::optional<TiffReader> TiffReader::OpenAfter(std::span<const std::uint8_t> payload, std::int64_t payloadOffset,
                                                std::size_t identifierSize, std::vector<DeclarationFault>& faults) {
  const auto tiff = payload.subspan(identifierSize);
  const std::int64_t fileOffset = payloadOffset + static_cast<std::int64_t>(identifierSize);
  const bool room = tiff.size() >= kHeaderSize;
  if (room && tiff[0] == 'I' && tiff[1] == 'I' && tiff[2] == 42 && tiff[3] == 0) {
    return TiffReader(tiff, fileOffset, false);
  }
  if (room && tiff[0] == 'M' && tiff[1] == 'M' && tiff[2] == 0 && tiff[3] == 42) {
    return TiffReader(tiff, fileOffset, true);
  }
  faults.push_back({fileOffset, static_cast<std::int64_t>(tiff.size())});
  return std::nullopt;
}

std::uint16_t TiffReader::U16(std::size_t at) const {
  const std::uint16_t first = tiff_[at];
  const std::uint16_t second = tiff_[at + 1];
  return static_cast<std::uint16_t>(bigEndian_ ? first << 8 | second : second << 8 | first);
}

std::uint32_t TiffReader::U32(std::size_t at) const {
  const std::uint32_t first = U16(at);
  const std::uint32_t second = U16(at + 2);
  return bigEndian_ ? first << 16 | second : second << 16 | first;
}

std::optional<TiffDirectory> TiffReader::Directory(std::uint32_t at) const {
  if (at > tiff_.size() || tiff_.size() - at < kCountSize) {
    return std::nullopt;
  }
  TiffDirectory directory;
  directory.at = at;
  const std::size_t count = U16(at);
  directory.length = kCountSize + kEntrySize * count + kNextSize;
  // Only the entries that fit are read, so a cut directory costs no more than its bytes.
  const std::size_t room = tiff_.size() - at - kCountSize;
  const std::size_t fitting = std::min(count, room / kEntrySize);
  for (std::size_t i = 0; i < fitting; ++i) {
    const std::size_t entryAt = at + kCountSize + i * kEntrySize;
    directory.entries.push_back({U16(entryAt), U16(entryAt + 2), U32(entryAt + 4), entryAt});
  }
  directory.whole = fitting == count && room - count * kEntrySize >= kNextSize;
  if (directory.whole) {
    directory.next = U32(at + kCountSize + count * kEntrySize);
  }
  return directory;
}

std::vector<TiffDirectory> TiffReader::Chain(std::size_t most, std::vector<DeclarationFault>& faults) const {
  std::vector<TiffDirectory> chain;
  std::size_t holder = 4;  // the bytes holding the offset being followed
  std::uint32_t at = U32(holder);
  while (at != 0 && chain.size() < most) {
    const bool seen = std::any_of(chain.begin(), chain.end(), [at](const TiffDirectory& d) { return d.at == at; });
    std::optional<TiffDirectory> directory = seen ? std::nullopt : Directory(at);
    if (!directory) {
      faults.push_back(Fault(holder, kNextSize));
      break;
    }
    if (!directory->whole) {
      faults.push_back(Fault(directory->at, directory->length));
      chain.push_back(std::move(*directory));
      break;
    }
    holder = directory->at + kCountSize + directory->entries.size() * kEntrySize;
    at = directory->next;
    chain.push_back(std::move(*directory));
  }
  return chain;
}

std::optional<std::uint32_t> TiffReader::Number(const TiffEntry& entry) const {
  if (entry.count != 1) {
    return std::nullopt;
  }
  if (entry.type == kShort) {
    return U16(entry.at + kValueField);
  }
  if (entry.type == kLong) {
    return U32(entry.at + kValueField);
  }
  return std::nullopt;
}

std::uint64_t TiffReader::ByteCount(const TiffEntry& entry) {
  const std::uint64_t size = entry.type < kTypeSizes.size() ? kTypeSizes[entry.type] : 0;
  return size * entry.count;
}

std::uint64_t TiffReader::ValueAt(const TiffEntry& entry) const {
  return ByteCount(entry) <= kInlineValueSize ? entry.at + kValueField : U32(entry.at + kValueField);
}

DeclarationFault TiffReader::Fault(std::uint64_t at, std::uint64_t length) const {
  const std::uint64_t start = std::min<std::uint64_t>(at, tiff_.size());
  return {FileOffset(start), static_cast<std::int64_t>(std::min(length, tiff_.size() - start))};
}

}  // namespace vellumark
