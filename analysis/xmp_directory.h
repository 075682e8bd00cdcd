#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/declaration_outcome.h"

namespace vellumark {

inline constexpr std::string_view kXmpIdentifier{"http://ns.adobe.com/xap/1.0/\0", 29};

// The items of the container directory in an APP1 XMP payload (identifier
// included), placed backwards from the file's end: the last item ends at
// fileSize, each earlier one where the next begins less its own padding. The
// first item is the primary image, which is not listed. Text that cannot be
// read, or an item that cannot be placed, is a fault; the items placed stay.
[[nodiscard]] DeclarationOutcome ReadXmpDirectory(std::span<const std::uint8_t> payload, std::int64_t payloadOffset,
                                                  std::int64_t fileSize);

}  // namespace vellumark
