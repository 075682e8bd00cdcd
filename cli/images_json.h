#pragma once

#include <vector>

#include "analysis/embedded_images.h"
#include "cli/json_report.h"
#include "platform/binary_file.h"

namespace vellumark {

// The "images" member of the object of file's bytes, when there are any: each
// picture's span, kind and problems, and a JPEG's structure as its own object.
// Stops after a picture whose walk was interrupted, telling outcome so.
void WriteImagesJson(const std::vector<EmbeddedImage>& images, BinaryFile& file, JsonPlace place, JsonLine& line,
                     JsonOutcome& outcome);

}  // namespace vellumark
