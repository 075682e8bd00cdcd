#include "analysis/segment_declarations.h"

#include <algorithm>

#include "analysis/exif_thumbnail.h"
#include "analysis/jfxx_thumbnail.h"
#include "analysis/marker_code.h"
#include "analysis/mpf_index.h"
#include "analysis/xmp_directory.h"

namespace vellumark {
namespace {

constexpr std::uint8_t kApp1 = marker::kApp0 + 1;
constexpr std::uint8_t kApp2 = marker::kApp0 + 2;

bool Begins(std::span<const std::uint8_t> payload, std::string_view identifier) {
  return payload.size() >= identifier.size() &&
         std::equal(identifier.begin(), identifier.end(), payload.begin(),
                    [](char expected, std::uint8_t byte) { return static_cast<std::uint8_t>(expected) == byte; });
}

}  // namespace

void ReadSegmentDeclarations(std::uint8_t code, std::span<const std::uint8_t> payload, std::int64_t payloadOffset,
                             std::int64_t fileSize, Declarations& out) {
  if (code == marker::kApp0 && Begins(payload, kJfxxIdentifier)) {
    Deliver(ReadJfxxThumbnail(payload, payloadOffset), out);
  } else if (code == kApp1 && Begins(payload, kExifIdentifier)) {
    Deliver(ReadExifThumbnail(payload, payloadOffset), out);
  } else if (code == kApp1 && Begins(payload, kXmpIdentifier)) {
    Deliver(ReadXmpDirectory(payload, payloadOffset, fileSize), out);
  } else if (code == kApp2 && Begins(payload, kMpfIdentifier)) {
    Deliver(ReadMpfIndex(payload, payloadOffset), out);
  }
}

}  // namespace vellumark
