#include "analysis/thumbnail_search.h"

#include <gtest/gtest.h>

#include "analysis/file_analysis.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::FakeFileSystem;
using testing::JpegBuilder;

// The fixed JFIF fields after the length: identifier, version 1.02, no units,
// density 1:1, thumbnail width and height.
Bytes JfifFields(std::string_view identifier, std::uint8_t afterIdentifier, std::uint8_t width = 0,
                 std::uint8_t height = 0) {
  Bytes fields(identifier.begin(), identifier.end());
  fields.insert(fields.end(), {afterIdentifier, 1, 2, 0, 0, 1, 0, 1, width, height});
  return fields;
}

// APP0 with the JFIF fields and `extra` more bytes: length 16 + extra.
JpegBuilder& AddJfif(JpegBuilder& file, std::size_t extra, std::string_view identifier = "JFIF",
                     std::uint8_t afterIdentifier = 0) {
  Bytes payload = JfifFields(identifier, afterIdentifier);
  payload.resize(payload.size() + extra, 0x80);
  return file.Segment(marker::kApp0, payload);
}

ThumbnailOutcome Search(const Bytes& bytes) {
  FakeFileSystem files;
  files.files["t.jpg"] = bytes;
  return SearchFileForThumbnail(files, "t.jpg");
}

struct SearchCase {
  const char* name;
  Bytes file;
  bool found;
};

class ThumbnailSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ThumbnailSearchTest, Answers) {
  const ThumbnailOutcome outcome = Search(GetParam().file);
  EXPECT_FALSE(outcome.fault);
  EXPECT_EQ(outcome.answer.found, GetParam().found);
}

JpegBuilder Soi() { return std::move(JpegBuilder().Marker(marker::kSoi)); }

std::vector<SearchCase> Cases() {
  JpegBuilder b;
  return {
      // FF D8, APP0 length 17 (one byte of room): 23 bytes in all.
      {"RoomForOneByte", AddJfif(b = Soi(), 1).Build(), true},
      {"OnlyTheFixedFields", AddJfif(b = Soi(), 0).Repeat(8, 0).Build(), false},
      {"LowerCaseIdentifier", AddJfif(b = Soi(), 1, "jfif").Build(), true},
      {"MixedCaseIdentifier", AddJfif(b = Soi(), 1, "JfIf").Build(), true},
      {"ExtensionSegment", AddJfif(b = Soi(), 8, "JFXX").Build(), false},
      {"IdentifierNotEndedByZero", AddJfif(b = Soi(), 8, "JFIF", 1).Build(), false},
      // Twenty bytes: FF D8, then an APP0 that would match if it were searched.
      {"TwentyBytesAreNotSearched",
       Bytes{marker::kPrefix, marker::kSoi, marker::kPrefix, marker::kApp0, 0x00, 0x11, 'J', 'F', 'I', 'F', 0,
             1, 2, 0, 0, 1, 0, 1, 0, 0},
       false},
      {"FirstByteNotFF", AddJfif(b = std::move(JpegBuilder().Raw({0x00, marker::kSoi})), 4).Build(), false},
      {"AfterALongApp1",
       AddJfif(b = std::move(Soi().Segment(0xE1, Bytes(40000, 0x45))), 4).Build(), true},
      {"LengthZeroBefore", AddJfif(b = std::move(Soi().MarkerWithLength(marker::kCom, 0)), 4).Build(), false},
      {"LengthOneBefore", AddJfif(b = std::move(Soi().MarkerWithLength(marker::kCom, 1)), 4).Build(), false},
      {"BadLengthAfterAMatch", AddJfif(b = Soi(), 4).MarkerWithLength(marker::kCom, 1).Repeat(8, 0).Build(),
       true},
      // After SOS the entropy-coded bytes are read as codes and lengths.
      {"EntropyDataAfterAMatch",
       AddJfif(b = Soi(), 4).Segment(marker::kSos, {1, 1, 0, 0, 0x3F, 0}).Raw({0x12, 0x34, 0x00, 0x05, 0x99, 0xE0}).Build(),
       true},
      // Only the first byte must be 0xFF: D8 and E0 are taken as codes as they come.
      {"MarkersWithoutFF",
       Bytes{marker::kPrefix, marker::kSoi, marker::kApp0, 0x00, 0x11, 'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1,
             0, 0, 0x80, 0x80, 0x80},
       true},
      // The length field is cut off by the end of the file.
      {"CutLengthField", Soi().Repeat(18, marker::kSoi).Raw({marker::kPrefix, marker::kApp0, 0x00}).Build(), false},
      // The APP0 segment declares more than the file has; the identifier is there.
      {"DeclaredPastTheEnd", Soi().MarkerWithLength(marker::kApp0, 0x2000).Raw(JfifFields("JFIF", 0)).Repeat(4, 1).Build(),
       true},
      // The identifier itself is cut off by the end of the file.
      {"IdentifierCutOff", Soi().Repeat(16, marker::kEoi).MarkerWithLength(marker::kApp0, 0x20).Raw({'J', 'F'}).Build(), false},
  };
}

INSTANTIATE_TEST_SUITE_P(Files, ThumbnailSearchTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbnailPixelsTest, WholePixelDataIsHandedOn) {
  const Bytes rgb{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  Bytes payload = JfifFields("JFIF", 0, 2, 2);
  payload.insert(payload.end(), rgb.begin(), rgb.end());
  const ThumbnailOutcome outcome = Search(Soi().Segment(marker::kApp0, payload).Marker(marker::kEoi).Build());
  ASSERT_TRUE(outcome.answer.picture);
  EXPECT_EQ(outcome.answer.picture->width, 2);
  EXPECT_EQ(outcome.answer.picture->height, 2);
  EXPECT_EQ(outcome.answer.picture->rgb, rgb);
}

// The first JFIF APP0 with room for a thumbnail is the one shown.
TEST(ThumbnailPixelsTest, FirstOfTwoJfifSegmentsIsTaken) {
  auto oneByOne = [](std::uint8_t shade) {
    Bytes payload = JfifFields("JFIF", 0, 1, 1);
    payload.insert(payload.end(), {shade, shade, shade});
    return payload;
  };
  const ThumbnailOutcome outcome = Search(Soi().Segment(marker::kApp0, oneByOne(1)).Segment(marker::kApp0, oneByOne(2)).Build());
  ASSERT_TRUE(outcome.answer.picture);
  EXPECT_EQ(outcome.answer.picture->rgb, (Bytes{1, 1, 1}));
}

// A yes without pixels: the window then shows its empty client area.
TEST(ThumbnailPixelsTest, NoPictureWhereSizeOrDataDoNotAddUp) {
  const std::vector<Bytes> files = {
      // Size bytes 0 x 0, with room declared.
      Soi().Segment(marker::kApp0, [] { Bytes p = JfifFields("JFIF", 0); p.resize(20, 7); return p; }()).Build(),
      // 2 x 2 pixels need 12 bytes; the segment holds 11.
      Soi().Segment(marker::kApp0, [] { Bytes p = JfifFields("JFIF", 0, 2, 2); p.resize(p.size() + 11, 7); return p; }()).Marker(marker::kEoi).Build(),
      // The segment declares the 12 bytes, but the file ends after 6 of them.
      Soi().MarkerWithLength(marker::kApp0, 16 + 12).Raw(JfifFields("JFIF", 0, 2, 2)).Repeat(6, 7).Build(),
  };
  for (const Bytes& file : files) {
    const ThumbnailOutcome outcome = Search(file);
    EXPECT_TRUE(outcome.answer.found);
    EXPECT_FALSE(outcome.answer.picture);
  }
}

TEST(ThumbnailSearchFaultTest, UnopenableFileHasNoPosition) {
  FakeFileSystem files;
  const ThumbnailOutcome outcome = SearchFileForThumbnail(files, "missing.jpg");
  ASSERT_TRUE(outcome.fault);
  EXPECT_EQ(outcome.fault->error.Number(), error_number::kFileNotFound);
  EXPECT_FALSE(outcome.fault->readPosition);
  EXPECT_FALSE(outcome.answer.found);
}

}  // namespace
}  // namespace vellumark
