#pragma once

#include <string>

#include "analysis/thumbnail_search.h"

namespace vellumark {

// The thumbnail's pixels at 1:1 as a PNG file (8-bit RGB, no interlace).
// Returns false where the file cannot be written.
[[nodiscard]] bool WritePng(const std::string& path, const JfifThumbnail& picture);

}  // namespace vellumark
