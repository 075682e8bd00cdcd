#include "analysis/exif_thumbnail.h"

#include "analysis/tiff_directory.h"

namespace vellumark {
namespace {

constexpr std::uint16_t kThumbnailOffset = 0x0201;  // JPEGInterchangeFormat
constexpr std::uint16_t kThumbnailLength = 0x0202;  // JPEGInterchangeFormatLength
// The header, IFD0 and IFD1: IFD0 matters only for the way to IFD1.
constexpr std::size_t kDirectoriesFollowed = 2;

}  // namespace

DeclarationOutcome ReadExifThumbnail(std::span<const std::uint8_t> payload, std::int64_t payloadOffset) {
  DeclarationOutcome outcome;
  if (payload.size() == kExifIdentifier.size()) {
    return outcome;  // the identifier alone, as some writers leave an emptied segment: no declaration at all
  }
  const auto reader = TiffReader::OpenAfter(payload, payloadOffset, kExifIdentifier.size(), outcome.faults);
  if (!reader) {
    return outcome;
  }
  const std::vector<TiffDirectory> chain = reader->Chain(kDirectoriesFollowed, outcome.faults);
  if (chain.size() < kDirectoriesFollowed) {
    return outcome;
  }
  const TiffDirectory& ifd1 = chain.back();
  const TiffEntry* offsetEntry = ifd1.Find(kThumbnailOffset);
  const TiffEntry* lengthEntry = ifd1.Find(kThumbnailLength);
  if (offsetEntry == nullptr && lengthEntry == nullptr) {
    return outcome;  // no thumbnail, or one of pixels in strips, which is no picture of its own
  }
  const auto offset = offsetEntry != nullptr ? reader->Number(*offsetEntry) : std::nullopt;
  const auto length = lengthEntry != nullptr ? reader->Number(*lengthEntry) : std::nullopt;
  if (!offset || !length) {
    outcome.faults.push_back(reader->Fault(ifd1.at, ifd1.length));
    return outcome;
  }
  DeclaredImage image;
  image.offset = reader->FileOffset(*offset);
  image.length = *length;
  image.format = ImageFormat::Jpeg;
  image.role = ImageRole::Thumbnail;
  image.foundBy = FoundBy::Exif;
  image.limit = payloadOffset + static_cast<std::int64_t>(payload.size());
  outcome.images.push_back(std::move(image));
  return outcome;
}

}  // namespace vellumark
