#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/binary_file.h"

namespace vellumark {

// The length of a JFIF APP0 segment with its fixed fields: the length field,
// "JFIF\0", version, units, two densities and the two thumbnail size bytes. A
// longer segment has room for thumbnail pixels.
inline constexpr std::int64_t kJfifFixedLength = 16;

// The RGB thumbnail of a JFIF APP0 segment: width * height * 3 bytes, rows top
// to bottom.
struct JfifThumbnail {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

struct ThumbnailAnswer {
  // A JFIF APP0 segment with room for thumbnail data was found.
  bool found = false;
  // Its pixels, where the size bytes are not 0 and the pixel data is whole.
  std::optional<JfifThumbnail> picture;
};

// Looks for a JFIF APP0 segment whose declared length leaves room for a
// thumbnail. The walk is looser than the report's: only the first byte must be
// 0xFF, markers without a length are passed over, it goes on after EOI and SOS,
// and lengths are not cut to the file. Read failures throw RuntimeError; what was
// found before stays found (see SearchFileForThumbnail).
void FindJfifThumbnail(BinaryFile& file, ThumbnailAnswer& answer);

}  // namespace vellumark
