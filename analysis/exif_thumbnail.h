#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/declaration_outcome.h"

namespace vellumark {

inline constexpr std::string_view kExifIdentifier{"Exif\0\0", 6};

// The JPEG thumbnail an APP1 Exif payload (identifier included) declares in
// IFD1. Its span is given as declared, even where it leaves the segment: the
// image's limit is the segment's end.
[[nodiscard]] DeclarationOutcome ReadExifThumbnail(std::span<const std::uint8_t> payload, std::int64_t payloadOffset);

}  // namespace vellumark
