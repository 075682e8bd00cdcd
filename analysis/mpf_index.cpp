#include "analysis/mpf_index.h"

#include <algorithm>

#include "analysis/tiff_directory.h"

namespace vellumark {
namespace {

constexpr std::uint16_t kNumberOfImages = 0xB001;
constexpr std::uint16_t kEntries = 0xB002;
constexpr std::uint64_t kEntrySize = 16;
constexpr std::size_t kIndexDirectories = 1;  // the MP Index IFD comes first
constexpr std::size_t kIfdEntrySize = 12;

ImageRole RoleOfType(std::uint32_t type) {
  switch (type) {
    case 0x010001:
    case 0x010002: return ImageRole::LargeThumbnail;
    case 0x020001: return ImageRole::Panorama;
    case 0x020002: return ImageRole::Disparity;
    case 0x020003: return ImageRole::MultiAngle;
    default: return ImageRole::Other;  // a second primary, or Ultra HDR's gain map (type 0)
  }
}

// One MP entry: attribute (format in bits 24-26, type in the low 24 bits),
// size, offset from the TIFF header, two dependent-image numbers.
void AddEntry(const TiffReader& reader, std::size_t at, DeclarationOutcome& outcome) {
  const std::uint32_t attribute = reader.U32(at);
  const std::uint32_t offset = reader.U32(at + 8);
  if (offset == 0) {
    return;  // the primary image, at the file's start
  }
  DeclaredImage image;
  image.offset = reader.FileOffset(offset);
  image.length = reader.U32(at + 4);
  image.format = (attribute >> 24 & 0x7) == 0 ? ImageFormat::Jpeg : ImageFormat::Unknown;
  image.role = RoleOfType(attribute & 0xFFFFFF);
  image.foundBy = FoundBy::Mpf;
  outcome.images.push_back(std::move(image));
}

void ReadEntries(const TiffReader& reader, const TiffDirectory& index, const TiffEntry& list,
                 DeclarationOutcome& outcome) {
  const std::uint64_t bytes = TiffReader::ByteCount(list);
  const std::uint64_t at = reader.ValueAt(list);
  // However many entries are declared, only those inside the segment are read.
  const std::uint64_t inside = at <= reader.Size() ? std::min(bytes, reader.Size() - at) : 0;
  for (std::uint64_t entry = 0; entry < inside / kEntrySize; ++entry) {
    AddEntry(reader, static_cast<std::size_t>(at + entry * kEntrySize), outcome);
  }
  const TiffEntry* count = index.Find(kNumberOfImages);
  const auto declared = count != nullptr ? reader.Number(*count) : std::nullopt;
  if (bytes % kEntrySize != 0 || declared != bytes / kEntrySize || inside < bytes) {
    outcome.faults.push_back(at <= reader.Size() ? reader.Fault(at, bytes) : reader.Fault(list.at, kIfdEntrySize));
  }
}

}  // namespace

DeclarationOutcome ReadMpfIndex(std::span<const std::uint8_t> payload, std::int64_t payloadOffset) {
  DeclarationOutcome outcome;
  const auto reader = TiffReader::OpenAfter(payload, payloadOffset, kMpfIdentifier.size(), outcome.faults);
  if (!reader) {
    return outcome;
  }
  const std::vector<TiffDirectory> chain = reader->Chain(kIndexDirectories, outcome.faults);
  // The MPF segment of an image other than the first holds no index: nothing is declared.
  const TiffEntry* list = chain.empty() ? nullptr : chain.front().Find(kEntries);
  if (list != nullptr) {
    ReadEntries(*reader, chain.front(), *list, outcome);
  }
  return outcome;
}

}  // namespace vellumark
