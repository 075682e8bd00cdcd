#pragma once

#include <cstdint>
#include <span>

#include "analysis/image_declaration.h"

namespace vellumark {

// Reads what one whole segment declares of the file's other pictures into out:
// an APP0 JFXX thumbnail, an APP1 Exif thumbnail (IFD1), an APP1 XMP container
// directory, an APP2 MPF index. Any other segment declares nothing.
// payload: the bytes after the length field; payloadOffset: the file offset of
// payload[0]; fileSize: the size of the file walked, from which XMP places its
// items backwards. Nothing outside payload is read, whatever its offsets say.
void ReadSegmentDeclarations(std::uint8_t code, std::span<const std::uint8_t> payload, std::int64_t payloadOffset,
                             std::int64_t fileSize, Declarations& out);

}  // namespace vellumark
