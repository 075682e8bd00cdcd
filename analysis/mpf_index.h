#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/declaration_outcome.h"

namespace vellumark {

inline constexpr std::string_view kMpfIdentifier{"MPF\0", 4};

// The images an APP2 MPF payload (identifier included) lists in its MP Index
// IFD, all but the primary (the entry at offset 0). A list whose byte count is
// not a whole number of entries, disagrees with the number of images or runs
// past the segment is a fault; the entries wholly inside the segment still count.
[[nodiscard]] DeclarationOutcome ReadMpfIndex(std::span<const std::uint8_t> payload, std::int64_t payloadOffset);

}  // namespace vellumark
