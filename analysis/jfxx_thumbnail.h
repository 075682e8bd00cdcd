#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/declaration_outcome.h"

namespace vellumark {

inline constexpr std::string_view kJfxxIdentifier{"JFXX\0", 5};

// The thumbnail an APP0 JFXX payload (identifier included) carries: the rest
// of the segment after the extension code, a JPEG (0x10) or pixels (0x11 one
// byte per pixel with a palette, 0x13 three). Other codes carry no picture.
[[nodiscard]] DeclarationOutcome ReadJfxxThumbnail(std::span<const std::uint8_t> payload, std::int64_t payloadOffset);

}  // namespace vellumark
