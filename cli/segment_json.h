#pragma once

#include <cstdint>
#include <span>

#include "cli/json_writer.h"

namespace vellumark {

// Writes the decoded fields of one whole segment as members of its open JSON
// object: "frame", "scan", "restart_interval", "lines", "tables",
// "identifier" and "jfif", or "text", as the marker calls for. payload is the
// segment after its length field. Returns true where the segment is
// malformed: its fields do not fill it exactly, or bytes are left that form no
// complete table. What fits completely is written either way.
[[nodiscard]] bool WriteSegmentDetails(JsonWriter& json, std::uint8_t code, std::span<const std::uint8_t> payload);

}  // namespace vellumark
