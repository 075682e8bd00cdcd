#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace vellumark {

// Pictures a file carries besides its own: what its segments declare (an Exif
// or JFXX thumbnail, the Multi-Picture Format's images, the XMP container
// directory's items) and what follows its EOI. Offsets count from 0 in the
// file being walked.

// The most pictures one file's map takes in: more are declared or found only
// by broken or hostile files, whose map would otherwise grow with their size.
inline constexpr std::size_t kMostImages = 4096;

enum class ImageFormat { Jpeg, IsoMedia, Pixels, Unknown };

enum class ImageRole { Thumbnail, LargeThumbnail, GainMap, MotionPhoto, Panorama, Disparity, MultiAngle, Other };

// The ways an image is found, in the order the JSON report lists them.
enum class FoundBy { Exif, Jfxx, Mpf, Xmp, AfterEoi };

// The names in the JSON report, which readers match on.
std::string_view ImageFormatName(ImageFormat format);
std::string_view ImageRoleName(ImageRole role);
std::string_view FoundByName(FoundBy way);

// The file name extension of a picture of this format and media type: "jpg",
// "mp4" for any video, "heic", "avif", or "bin".
std::string_view ExtensionOf(ImageFormat format, std::string_view mime);

// Bytes of a declaration that cannot be read: an IFD, an entry or a directory,
// as far as they lie in their segment.
struct DeclarationFault {
  std::int64_t offset = 0;
  std::int64_t length = 0;
};

struct DeclaredImage {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  ImageFormat format = ImageFormat::Unknown;
  ImageRole role = ImageRole::Other;
  FoundBy foundBy = FoundBy::AfterEoi;
  // The media type where one is declared or seen ("video/mp4"), or "".
  std::string mime;
  // Where the image must end: a thumbnail within its segment, anything else
  // within the file (the file's size is applied later).
  std::int64_t limit = std::numeric_limits<std::int64_t>::max();
  // Faults of the declaration that yielded this image.
  std::vector<DeclarationFault> faults;
};

// What a file's segments declare, gathered as the walk meets them.
struct Declarations {
  std::vector<DeclaredImage> images;
  std::vector<DeclarationFault> faults;  // those that yielded no image
};

}  // namespace vellumark
