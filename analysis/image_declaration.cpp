#include "analysis/image_declaration.h"

namespace vellumark {

std::string_view ImageFormatName(ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg: return "jpeg";
    case ImageFormat::IsoMedia: return "iso-media";
    case ImageFormat::Pixels: return "pixels";
    case ImageFormat::Unknown: return "unknown";
  }
  return {};
}

std::string_view ImageRoleName(ImageRole role) {
  switch (role) {
    case ImageRole::Thumbnail: return "thumbnail";
    case ImageRole::LargeThumbnail: return "large-thumbnail";
    case ImageRole::GainMap: return "gain-map";
    case ImageRole::MotionPhoto: return "motion-photo";
    case ImageRole::Panorama: return "panorama";
    case ImageRole::Disparity: return "disparity";
    case ImageRole::MultiAngle: return "multi-angle";
    case ImageRole::Other: return "other";
  }
  return {};
}

std::string_view FoundByName(FoundBy way) {
  switch (way) {
    case FoundBy::Exif: return "exif";
    case FoundBy::Jfxx: return "jfxx";
    case FoundBy::Mpf: return "mpf";
    case FoundBy::Xmp: return "xmp";
    case FoundBy::AfterEoi: return "after-eoi";
  }
  return {};
}

std::string_view ExtensionOf(ImageFormat format, std::string_view mime) {
  if (format == ImageFormat::Jpeg) {
    return "jpg";
  }
  if (mime.starts_with("video/")) {
    return "mp4";
  }
  if (mime == "image/heic") {
    return "heic";
  }
  if (mime == "image/avif") {
    return "avif";
  }
  return "bin";
}

}  // namespace vellumark
