#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/jpeg_builder.h"
#include "tests/support/tiff_builder.h"

namespace vellumark::testing {

// Segments that declare pictures inside a JPEG file, as cameras and phones
// write them, and the smallest pictures to put there.

// SOI, a frame header, EOI: the least a walk counts as a picture.
inline Bytes TinyJpeg() {
  return JpegBuilder()
      .Marker(marker::kSoi)
      .Segment(marker::kSof0, {8, 0, 1, 0, 1, 1, 1, 0x11, 0})
      .Marker(marker::kEoi)
      .Build();
}

// An APP1 Exif segment whose IFD1 names a thumbnail of `declared` bytes lying
// right after it, with `inside` following in the segment: IFD0 at 8 with no
// entries, IFD1 at 14, the thumbnail at TIFF offset 44 (the segment's 54th byte).
inline Bytes ExifSegment(const Bytes& inside, std::uint32_t declared) {
  TiffBuilder tiff(false);
  tiff.Header(8).Ifd({}, 14).Ifd({{0x0201, 4, 1, 44}, {0x0202, 4, 1, declared}}, 0).Raw(inside);
  return JpegBuilder().Segment(marker::kApp0 + 1, tiff.After(std::string_view("Exif\0\0", 6))).Build();
}
inline constexpr std::int64_t kExifThumbnailAt = 54;

struct MpEntry {
  std::uint32_t attribute;
  std::uint32_t size;
  std::uint32_t offset;  // from the TIFF header's first byte, the segment's 9th
};

// An APP2 MPF segment, big-endian, listing entries.
inline Bytes MpfSegment(const std::vector<MpEntry>& entries) {
  const auto count = static_cast<std::uint32_t>(entries.size());
  TiffBuilder tiff(true);
  tiff.Header(8).Ifd({{0xB001, 4, 1, count}, {0xB002, 7, count * 16, 38}}, 0);
  for (const MpEntry& entry : entries) {
    tiff.U32(entry.attribute).U32(entry.size).U32(entry.offset).U16(0).U16(0);
  }
  return JpegBuilder().Segment(marker::kApp0 + 2, tiff.After(std::string_view("MPF\0", 4))).Build();
}
inline constexpr std::int64_t kMpfTiffAt = 8;

struct XmpItem {
  std::string semantic;
  std::string mime;
  std::int64_t length = 0;  // 0: none given
  std::int64_t padding = 0;
};

// An APP1 XMP segment with a container directory of items, as attributes.
inline Bytes XmpSegment(const std::vector<XmpItem>& items) {
  std::string xml =
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
      "<rdf:Description xmlns:Container=\"http://ns.google.com/photos/1.0/container/\" "
      "xmlns:Item=\"http://ns.google.com/photos/1.0/container/item/\"><Container:Directory><rdf:Seq>";
  for (const XmpItem& item : items) {
    xml += "<rdf:li rdf:parseType=\"Resource\"><Container:Item Item:Semantic=\"" + item.semantic + "\" Item:Mime=\"" +
           item.mime + "\"";
    if (item.length != 0) xml += " Item:Length=\"" + std::to_string(item.length) + "\"";
    if (item.padding != 0) xml += " Item:Padding=\"" + std::to_string(item.padding) + "\"";
    xml += "/></rdf:li>";
  }
  xml += "</rdf:Seq></Container:Directory></rdf:Description></rdf:RDF></x:xmpmeta>";
  const std::string payload = std::string("http://ns.adobe.com/xap/1.0/", 29) + xml;
  return JpegBuilder().Segment(marker::kApp0 + 1, Bytes(payload.begin(), payload.end())).Build();
}

// An ISO media file of an ftyp box with `brand` and an mdat box of `data` bytes.
inline Bytes IsoMedia(std::string_view brand, std::size_t data) {
  Bytes bytes{0, 0, 0, 16, 'f', 't', 'y', 'p'};
  bytes.insert(bytes.end(), brand.begin(), brand.end());
  bytes.insert(bytes.end(), {0, 0, 0, 0});
  const auto size = static_cast<std::uint8_t>(8 + data);
  bytes.insert(bytes.end(), {0, 0, 0, size, 'm', 'd', 'a', 't'});
  bytes.insert(bytes.end(), data, 0x5A);
  return bytes;
}

}  // namespace vellumark::testing
