#pragma once

#include <cstdint>
#include <vector>

#include "analysis/image_declaration.h"
#include "platform/binary_file.h"

namespace vellumark {

// Sorts out bytes after EOI that nothing declares, from the front: FF D8 and
// a frame header begin a JPEG that ends at its EOI (or the run's end); "ftyp"
// at bytes 4-7 begins an ISO media file that spans its whole top-level boxes;
// after either the rest is looked at again; what is neither, to the run's end,
// is one unknown stretch. A bare SOI…EOI pair holds no picture and so counts
// as unknown bytes. Each image found is appended to out with role Other; once
// out holds kMostImages, the rest of the run is one unknown stretch.
void SearchAfterEoi(BinaryFile& file, std::int64_t offset, std::int64_t length, std::vector<DeclaredImage>& out);

}  // namespace vellumark
