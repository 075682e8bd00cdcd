#include "analysis/after_eoi_search.h"

#include <optional>
#include <string>
#include <string_view>

#include "analysis/jpeg_extent.h"
#include "common/bytes.h"
#include "platform/file_window.h"

namespace vellumark {

namespace {

constexpr std::int64_t kBoxHeader = 8;
constexpr std::int64_t kLargeBoxHeader = 16;

// The end of the top-level box at `at`, where a whole one lies there.
std::optional<std::int64_t> BoxEnd(BinaryFile& file, std::int64_t at, std::int64_t end) {
  if (end - at < kBoxHeader) {
    return std::nullopt;
  }
  file.SetSeek(at + 1);
  const auto header = file.Peek(kLargeBoxHeader);
  const std::uint64_t size = BigEndianLong(header.data());
  if (size == 0) {
    return end;  // the box runs to the end
  }
  if (size == 1) {
    if (end - at < kLargeBoxHeader) {
      return std::nullopt;
    }
    const std::uint64_t large =
        (std::uint64_t{BigEndianLong(header.data() + 8)} << 32) | BigEndianLong(header.data() + 12);
    if (large < kLargeBoxHeader || large > static_cast<std::uint64_t>(end - at)) {
      return std::nullopt;
    }
    return at + static_cast<std::int64_t>(large);
  }
  if (size < kBoxHeader || size > static_cast<std::uint64_t>(end - at)) {
    return std::nullopt;
  }
  return at + static_cast<std::int64_t>(size);
}

constexpr std::int64_t kBrandEnd = 12;

// The media type an ISO media file's major brand names, "" where it is none
// of the common ones.
std::string MediaOfBrand(std::string_view brand) {
  for (const std::string_view mp4 : {"isom", "iso2", "iso4", "iso5", "iso6", "mp41", "mp42", "avc1", "M4V ", "qt  "}) {
    if (brand == mp4) {
      return "video/mp4";
    }
  }
  if (brand == "heic" || brand == "heix" || brand == "mif1") {
    return "image/heic";
  }
  return brand == "avif" || brand == "avis" ? "image/avif" : "";
}

// The media type of the ISO media file at `at`, where "ftyp" says one begins there.
std::optional<std::string> IsoMediaAt(BinaryFile& file, std::int64_t at, std::int64_t end) {
  if (end - at < kBrandEnd) {
    return std::nullopt;
  }
  file.SetSeek(at + 1);
  const auto bytes = file.Peek(kBrandEnd);
  if (std::string_view(reinterpret_cast<const char*>(bytes.data()) + 4, 4) != "ftyp") {
    return std::nullopt;
  }
  return MediaOfBrand(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 8, 4));
}

// The end of the whole boxes from at on: at itself where none is whole.
std::int64_t IsoMediaEnd(BinaryFile& file, std::int64_t at, std::int64_t end) {
  std::int64_t next = at;
  while (const auto boxEnd = BoxEnd(file, next, end)) {
    next = *boxEnd;
  }
  return next;
}

// The end of the JPEG picture at `at`, where one begins there.
std::optional<std::int64_t> PictureEnd(BinaryFile& file, std::int64_t at, std::int64_t end) {
  BinaryFile alone(std::make_unique<FileWindow>(file, at, end - at));
  const JpegExtent extent = MeasureJpeg(alone);
  if (!extent.jpeg || !extent.frame) {
    return std::nullopt;
  }
  return at + extent.eoiEnd.value_or(end - at);
}

}  // namespace

void SearchAfterEoi(BinaryFile& file, std::int64_t offset, std::int64_t length, std::vector<DeclaredImage>& out) {
  const std::int64_t end = offset + length;
  std::int64_t at = offset;
  while (at < end) {
    DeclaredImage image;
    image.offset = at;
    if (out.size() + 1 >= kMostImages) {
      image.length = end - at;
    } else if (const auto pictureEnd = PictureEnd(file, at, end)) {
      image.format = ImageFormat::Jpeg;
      image.mime = "image/jpeg";
      image.length = *pictureEnd - at;
    } else if (const auto media = IsoMediaAt(file, at, end); media && IsoMediaEnd(file, at, end) > at) {
      image.format = ImageFormat::IsoMedia;
      image.mime = *media;
      image.length = IsoMediaEnd(file, at, end) - at;
    } else {
      image.length = end - at;
    }
    out.push_back(image);
    at += image.length;
  }
}

}  // namespace vellumark
