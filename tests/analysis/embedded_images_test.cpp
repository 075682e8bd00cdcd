#include "analysis/embedded_images.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/memory_byte_source.h"
#include "tests/support/embedded_builder.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::ExifSegment;
using testing::IsoMedia;
using testing::Join;
using testing::JpegBuilder;
using testing::MpfSegment;
using testing::TinyJpeg;
using testing::XmpSegment;

const Bytes kTiny = TinyJpeg();
const auto kTinySize = static_cast<std::int64_t>(kTiny.size());
const Bytes kSoi{0xFF, 0xD8};
const Bytes kFrameAndEoi(kTiny.begin() + 2, kTiny.end());
constexpr std::int64_t kThumbnailAt = 2 + testing::kExifThumbnailAt;

// "OFFSET+LENGTH format role way... !kind@OFFSET+LENGTH..." for each picture, "; " between.
std::string MapOf(const Bytes& file) {
  BinaryFile binary(std::make_unique<MemoryByteSource>(file));
  ImageDeclarations declarations;
  EXPECT_TRUE(WalkStructure(binary, declarations));
  std::string text;
  for (const EmbeddedImage& image : declarations.Map(binary).images) {
    text += (text.empty() ? "" : "; ") + std::to_string(image.offset) + "+" + std::to_string(image.length) + " " +
            std::string(ImageFormatName(image.format)) +
            (image.format == ImageFormat::IsoMedia ? "(" + image.mime + ")" : "") + " " +
            std::string(ImageRoleName(image.role));
    for (const FoundBy way : image.foundBy) text += " " + std::string(FoundByName(way));
    for (const ImageProblem& problem : image.problems) {
      text += " !" + std::string(ImageProblemKindName(problem.kind)) + "@" + std::to_string(problem.offset) + "+" +
              std::to_string(problem.length);
    }
  }
  return text;
}

std::string Span(std::int64_t offset, std::int64_t length) {
  return std::to_string(offset) + "+" + std::to_string(length);
}

// A primary image with `segments` after its SOI, then `after` past its EOI.
Bytes Primary(const Bytes& segments, const Bytes& after = {}) { return Join({kSoi, segments, kFrameAndEoi, after}); }

struct MapCase {
  const char* name;
  std::function<Bytes()> file;
  std::function<std::string()> expected;
};

class EmbeddedImagesTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(EmbeddedImagesTest, Maps) { EXPECT_EQ(MapOf(GetParam().file()), GetParam().expected()); }

// The Exif thumbnail and how its bytes can disagree with its declaration.
const MapCase kExifCases[] = {
    {"ThumbnailInItsSegment", [] { return Primary(ExifSegment(kTiny, kTinySize)); },
     [] { return Span(kThumbnailAt, kTinySize) + " jpeg thumbnail exif"; }},
    {"ThumbnailOneBytePastItsSegment", [] { return Primary(ExifSegment(kTiny, kTinySize + 1)); },
     [] {
       return Span(kThumbnailAt, kTinySize + 1) + " jpeg thumbnail exif !image-out-of-file@" +
              Span(kThumbnailAt + kTinySize, 1);
     }},
    {"ThumbnailNotJpeg", [] { return Primary(ExifSegment(Bytes(kTiny.size(), 0), kTinySize)); },
     [] { return Span(kThumbnailAt, kTinySize) + " jpeg thumbnail exif !image-not-jpeg@" + Span(kThumbnailAt, 2); }},
    {"ThumbnailEndsBeforeItsEoi", [] { return Primary(ExifSegment(kTiny, kTinySize - 1)); },
     [] {
       return Span(kThumbnailAt, kTinySize - 1) + " jpeg thumbnail exif !image-length@" +
              Span(kThumbnailAt + kTinySize - 1, 0);
     }},
    {"ThumbnailGoesOnAfterItsEoi", [] { return Primary(ExifSegment(Join({kTiny, {0, 0}}), kTinySize + 2)); },
     [] {
       return Span(kThumbnailAt, kTinySize + 2) + " jpeg thumbnail exif !image-length@" +
              Span(kThumbnailAt + kTinySize, 2);
     }},
};
INSTANTIATE_TEST_SUITE_P(Exif, EmbeddedImagesTest, ::testing::ValuesIn(kExifCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A primary image whose XMP directory and MPF index both name kTiny after its
// EOI, as Ultra HDR names its gain map; the MPF entry `shift` bytes off.
Bytes DeclaredAfterEoi(const std::string& semantic, std::uint32_t attribute, std::int64_t shift = 0) {
  const Bytes xmp = XmpSegment({{"Primary", "image/jpeg"}, {semantic, "image/jpeg", kTinySize}});
  const auto xmpSize = static_cast<std::int64_t>(xmp.size());
  const auto mpfSize = static_cast<std::int64_t>(MpfSegment({{0, 0, 0}}).size());
  const std::int64_t eoiEnd = 2 + xmpSize + mpfSize + kTinySize - 2;
  const auto entry = static_cast<std::uint32_t>(eoiEnd - (2 + xmpSize + testing::kMpfTiffAt) + shift);
  return Primary(Join({xmp, MpfSegment({{attribute, static_cast<std::uint32_t>(kTinySize), entry}})}), kTiny);
}

std::int64_t PictureAfterEoiAt(const std::string& semantic = "GainMap") {
  return static_cast<std::int64_t>(DeclaredAfterEoi(semantic, 0).size()) - kTinySize;
}

// Declarations of one span merge; of different spans they are kept apart.
const MapCase kMergeCases[] = {
    {"GainMapNamedByMpfAndXmp", [] { return DeclaredAfterEoi("GainMap", 0); },
     [] { return Span(PictureAfterEoiAt(), kTinySize) + " jpeg gain-map mpf xmp"; }},
    {"XmpRoleWinsOverMpfs", [] { return DeclaredAfterEoi("GainMap", 0x010002); },
     [] { return Span(PictureAfterEoiAt(), kTinySize) + " jpeg gain-map mpf xmp"; }},
    {"SpecificRoleKeptAgainstOther", [] { return DeclaredAfterEoi("Depth", 0x010001); },
     [] { return Span(PictureAfterEoiAt("Depth"), kTinySize) + " jpeg large-thumbnail mpf xmp"; }},
    {"MpfAndXmpDisagreeByOneByte", [] { return DeclaredAfterEoi("GainMap", 0, 1); },
     [] {
       const std::int64_t at = PictureAfterEoiAt();
       return Span(at, kTinySize) + " jpeg gain-map xmp !overlap@" + Span(at + 1, kTinySize - 1) + "; " +
              Span(at + 1, kTinySize) + " jpeg other mpf !image-not-jpeg@" + Span(at + 1, 2) + " !overlap@" +
              Span(at + 1, kTinySize - 1) + " !image-out-of-file@" + Span(at + kTinySize, 1);
     }},
    {"MpfEntryPastTheFile",
     [] { return Primary(MpfSegment({{0x020001, 100, 1000}})); },
     [] { return Span(2 + testing::kMpfTiffAt + 1000, 100) + " jpeg panorama mpf !image-out-of-file@" +
                 Span(2 + testing::kMpfTiffAt + 1000, 100); }},
};
INSTANTIATE_TEST_SUITE_P(Merge, EmbeddedImagesTest, ::testing::ValuesIn(kMergeCases),
                         [](const auto& info) { return std::string(info.param.name); });

const std::int64_t kEoiEnd = 2 + kTinySize - 2;

// What follows EOI, declared by nothing.
const MapCase kAfterEoiCases[] = {
    {"BareSoiEoiAndTextAreNoPicture", [] { return Primary({}, {0xFF, 0xD8, 0xFF, 0xD9, 'h', 'i'}); },
     [] { return std::string(); }},
    {"JpegThenVideoThenJunk", [] { return Primary({}, Join({kTiny, IsoMedia("mp42", 4), {'j', 'u', 'n', 'k'}})); },
     [] {
       return Span(kEoiEnd, kTinySize) + " jpeg other after-eoi; " + Span(kEoiEnd + kTinySize, 28) +
              " iso-media(video/mp4) other after-eoi; " + Span(kEoiEnd + kTinySize + 28, 4) +
              " unknown other after-eoi";
     }},
    {"VideoBoxOneBytePastTheEnd",
     [] {
       Bytes video = IsoMedia("isom", 4);
       video.pop_back();
       return Primary({}, video);
     },
     [] {
       return Span(kEoiEnd, 16) + " iso-media(video/mp4) other after-eoi; " + Span(kEoiEnd + 16, 11) +
              " unknown other after-eoi";
     }},
    {"HeicBoxesToTheVeryEnd", [] { return Primary({}, IsoMedia("heic", 4)); },
     [] { return Span(kEoiEnd, 28) + " iso-media(image/heic) other after-eoi"; }},
    {"BoxOfSizeZeroRunsToTheEnd",
     [] { return Primary({}, Join({IsoMedia("avif", 0), {0, 0, 0, 0, 'm', 'd', 'a', 't', 1, 2, 3}})); },
     [] { return Span(kEoiEnd, 24 + 11) + " iso-media(image/avif) other after-eoi"; }},
    {"BoxOfA64BitSize",
     [] {
       return Primary({}, Join({IsoMedia("qt  ", 0), {0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0, 0, 0, 0, 0, 0, 17, 9}}));
     },
     [] { return Span(kEoiEnd, 24 + 17) + " iso-media(video/mp4) other after-eoi"; }},
    {"JunkBesideAThumbnailIsListed", [] { return Primary(ExifSegment(kTiny, kTinySize), {'j', 'u', 'n', 'k'}); },
     [] {
       const auto size = static_cast<std::int64_t>(Primary(ExifSegment(kTiny, kTinySize), {'j', 'u', 'n', 'k'}).size());
       return Span(kThumbnailAt, kTinySize) + " jpeg thumbnail exif; " + Span(size - 4, 4) + " unknown other after-eoi";
     }},
    {"JpegWithoutEoiRunsToTheEnd", [] { return Primary({}, Bytes(kTiny.begin(), kTiny.end() - 1)); },
     [] {
       return Span(kEoiEnd, kTinySize - 1) + " jpeg other after-eoi !image-length@" +
              Span(kEoiEnd + kTinySize - 1, 0);
     }},
};
INSTANTIATE_TEST_SUITE_P(AfterEoi, EmbeddedImagesTest, ::testing::ValuesIn(kAfterEoiCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark

namespace vellumark {
namespace {

ImageMap MapBytes(const Bytes& file) {
  BinaryFile binary(std::make_unique<MemoryByteSource>(file));
  ImageDeclarations declarations;
  EXPECT_TRUE(WalkStructure(binary, declarations));
  return declarations.Map(binary);
}

// However many pictures a file declares or carries, its map stays bounded.
TEST(EmbeddedImagesBoundTest, PicturesAfterEoiStopAtTheBound) {
  Bytes after;
  for (std::size_t i = 0; i < kMostImages + 10; ++i) {
    after.insert(after.end(), kTiny.begin(), kTiny.end());
  }
  const ImageMap map = MapBytes(Primary({}, after));
  ASSERT_EQ(map.images.size(), kMostImages);
  EXPECT_EQ(map.images[kMostImages - 2].format, ImageFormat::Jpeg);
  EXPECT_EQ(map.images.back().format, ImageFormat::Unknown);
  EXPECT_EQ(map.images.back().length, 11 * kTinySize);
}

TEST(EmbeddedImagesBoundTest, DeclarationsStopAtTheBound) {
  constexpr std::uint32_t kPerSegment = 1000;
  std::vector<testing::MpEntry> entries;
  for (std::uint32_t i = 1; i <= kPerSegment; ++i) {
    entries.push_back({0x020001, 1, i});
  }
  const Bytes mpf = MpfSegment(entries);
  Bytes segments;
  for (std::size_t i = 0; i * kPerSegment <= kMostImages + kPerSegment; ++i) {
    segments.insert(segments.end(), mpf.begin(), mpf.end());
  }
  const ImageMap map = MapBytes(Primary(segments));
  // Segments are read while fewer than the bound are declared; each names its own spans.
  EXPECT_EQ(map.images.size(), (kMostImages / kPerSegment + 1) * kPerSegment);
  ASSERT_EQ(map.faults.size(), 1U);
  const auto firstUnread = static_cast<std::int64_t>(2 + (kMostImages / kPerSegment + 1) * mpf.size() + 4);
  EXPECT_EQ(map.faults[0].offset, firstUnread);
}

}  // namespace
}  // namespace vellumark
