#include "analysis/jfxx_thumbnail.h"

#include <optional>

namespace vellumark {
namespace {

std::optional<ImageFormat> ExtensionFormat(std::uint8_t code) {
  switch (code) {
    case 0x10: return ImageFormat::Jpeg;
    case 0x11:
    case 0x13: return ImageFormat::Pixels;
    default: return std::nullopt;
  }
}

}  // namespace

DeclarationOutcome ReadJfxxThumbnail(std::span<const std::uint8_t> payload, std::int64_t payloadOffset) {
  DeclarationOutcome outcome;
  const std::int64_t size = static_cast<std::int64_t>(payload.size());
  const std::size_t codeAt = kJfxxIdentifier.size();
  if (payload.size() <= codeAt) {
    // The identifier promises an extension and the segment ends before its code.
    outcome.faults.push_back({payloadOffset, size});
    return outcome;
  }
  const std::optional<ImageFormat> format = ExtensionFormat(payload[codeAt]);
  if (!format) {
    return outcome;
  }
  DeclaredImage image;
  image.offset = payloadOffset + static_cast<std::int64_t>(codeAt) + 1;
  image.length = payloadOffset + size - image.offset;
  image.format = *format;
  image.role = ImageRole::Thumbnail;
  image.foundBy = FoundBy::Jfxx;
  image.limit = payloadOffset + size;
  outcome.images.push_back(std::move(image));
  return outcome;
}

}  // namespace vellumark
