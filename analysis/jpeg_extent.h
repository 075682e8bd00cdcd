#pragma once

#include <cstdint>
#include <optional>

#include "platform/binary_file.h"

namespace vellumark {

// How far a JPEG reaches, from a walk of its markers.
struct JpegExtent {
  bool jpeg = false;                   // it begins with FF D8
  bool frame = false;                  // a frame header comes before EOI
  std::optional<std::int64_t> eoiEnd;  // the offset just after EOI
};

JpegExtent MeasureJpeg(BinaryFile& file);

}  // namespace vellumark
