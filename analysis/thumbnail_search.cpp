#include "analysis/thumbnail_search.h"

#include <algorithm>
#include <span>

#include "analysis/length_field.h"
#include "analysis/marker_catalogue.h"

namespace vellumark {

namespace {

constexpr std::int64_t kLongestUnsearchedFile = 20;
constexpr std::size_t kIdentifierOffset = 2;
constexpr std::size_t kThumbnailWidthOffset = 14;
constexpr std::size_t kThumbnailHeightOffset = 15;
constexpr std::size_t kPixelOffset = 16;

bool HasJfifIdentifier(std::span<const std::uint8_t> segment) {
  static constexpr char kIdentifier[] = "JFIF";
  if (segment.size() < kIdentifierOffset + 5) {
    return false;
  }
  for (std::size_t i = 0; i < 4; ++i) {
    const auto letter = static_cast<std::uint8_t>(segment[kIdentifierOffset + i] & ~0x20);
    if (letter != static_cast<std::uint8_t>(kIdentifier[i])) {
      return false;
    }
  }
  return segment[kIdentifierOffset + 4] == 0;
}

// The pixels only where the size bytes say there are some and every one of them
// lies inside the segment as the file has it.
std::optional<JfifThumbnail> ThumbnailPixels(std::span<const std::uint8_t> segment) {
  if (segment.size() < kPixelOffset) {
    return std::nullopt;
  }
  const int width = segment[kThumbnailWidthOffset];
  const int height = segment[kThumbnailHeightOffset];
  const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  if (size == 0 || segment.size() - kPixelOffset < size) {
    return std::nullopt;
  }
  const auto pixels = segment.subspan(kPixelOffset, size);
  return JfifThumbnail{width, height, {pixels.begin(), pixels.end()}};
}

void InspectApp0(BinaryFile& file, std::int64_t start, std::int64_t length, ThumbnailAnswer& answer) {
  file.SetSeek(start);
  // A declared length that runs past the end of the file gets what the file has.
  const auto segment = file.ReadBytes(std::min(length, file.Remaining()));
  if (!HasJfifIdentifier(segment)) {
    return;
  }
  if (!answer.found) {
    answer.picture = ThumbnailPixels(segment);
  }
  answer.found = true;
}

}  // namespace

void FindJfifThumbnail(BinaryFile& file, ThumbnailAnswer& answer) {
  if (file.Length() <= kLongestUnsearchedFile || file.ReadByte() != marker::kPrefix) {
    return;
  }
  while (file.Remaining() >= 2) {
    const std::uint8_t code = file.ReadByte();
    if (code == marker::kPrefix || !MarkerHasLength(code)) {
      continue;
    }
    const std::int64_t start = file.Seek();
    const std::int64_t length = ReadLengthField(file);
    if (length < kLengthFieldSize) {
      return;
    }
    if (code == marker::kApp0 && length > kJfifFixedLength) {
      InspectApp0(file, start, length, answer);
    }
    file.SetSeek(start + length);
  }
}

}  // namespace vellumark
