#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;
using testing::JfifPayload;
using testing::JpegBuilder;
using testing::Lines;

constexpr std::string_view kTooShort = "这不是JPEG图片文件！";
constexpr std::string_view kNotAMarker = "非JPEG标记，或图像压缩数据";
constexpr std::string_view kBadLength = "错误的标记长度";

// SOI, APP0, a fill byte before COM, SOS, and the first two bytes of scan data.
Bytes FortyByteFile() {
  return JpegBuilder()
      .Marker(marker::kSoi)  // FF D8 SOI
      .Segment(marker::kApp0, JfifPayload(0, 0, {}))  // FF E0 00 10: APP0 length 16, JFIF, no thumbnail
      .Raw({marker::kPrefix})          // fill byte
      .Segment(marker::kCom, {'a', 'b', 'c'})  // FF FE 00 05: COM length 5
      // FF DA 00 08: SOS length 8, one component, spectral range 0..63
      .Segment(marker::kSos, {0x01, 0x01, 0x00, 0x00, 0x3F, 0x00})
      .Raw({0x12, 0x34})  // scan data
      .Build();
}

TEST(SegmentWalkerTest, ReportsEveryMarkerUpToTheScanData) {
  const Bytes file = FortyByteFile();
  ASSERT_EQ(file.size(), 40U);
  const auto [report, fault] = AnalyseBytes(file);
  EXPECT_FALSE(fault);
  EXPECT_EQ(report, Lines({"位置:1(0h)", "标记:SOI", "", "位置:3(2h)", "标记:APP0", "长度:16(10h)", "", "",
                           "位置:21(14h)", "标记:COM", "长度:5(5h)", "", "", "位置:29(1Ch)", "标记:SOS",
                           "长度:8(8h)", "", "", "位置:39(26h)", kNotAMarker}));
}

class ShortFileTest : public ::testing::TestWithParam<int> {};

// Up to 20 bytes the file is not walked at all, whatever it holds.
TEST_P(ShortFileTest, IsNotAJpeg) {
  Bytes file = FortyByteFile();
  file.resize(static_cast<std::size_t>(GetParam()));
  const auto [report, fault] = AnalyseBytes(file);
  EXPECT_FALSE(fault);
  EXPECT_EQ(report, Lines({kTooShort}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShortFileTest, ::testing::Range(0, 21));

TEST(SegmentWalkerTest, TwentyOneBytesAreWalked) {
  Bytes file = FortyByteFile();
  file.resize(21);  // ends in the fill byte, one byte short of a marker
  EXPECT_EQ(AnalyseBytes(file).report,
            Lines({"位置:1(0h)", "标记:SOI", "", "位置:3(2h)", "标记:APP0", "长度:16(10h)", "", ""}));
}

TEST(SegmentWalkerTest, FirstByteNotFF) {
  Bytes file = FortyByteFile();
  file[0] = 0x00;
  EXPECT_EQ(AnalyseBytes(file).report, Lines({"位置:1(0h)", kNotAMarker}));
}

// Every case below starts with the same 20 bytes, so the file is long enough to
// be walked, and the bytes under test start at position 21 (offset 14h).
Bytes Opening() {
  return JpegBuilder()
      .Marker(marker::kSoi)                                        // FF D8 SOI
      .Segment(marker::kCom, Bytes(14, 'x'))                       // FF FE 00 10: COM length 16
      .Build();
}

std::string OpeningReport() {
  return Lines({"位置:1(0h)", "标记:SOI", "", "位置:3(2h)", "标记:COM", "长度:16(10h)", "", ""});
}

struct WalkCase {
  const char* name;
  Bytes tail;
  std::vector<std::string_view> lines;
};

class WalkCaseTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkCaseTest, ReportsExactLines) {
  const Bytes file = JpegBuilder().Raw(Opening()).Raw(GetParam().tail).Build();
  const auto [report, fault] = AnalyseBytes(file);
  EXPECT_FALSE(fault) << fault->error.Number();
  EXPECT_EQ(report, OpeningReport() + Lines(GetParam().lines));
}

const WalkCase kWalkCases[] = {
    {"EndsRightAfterEoi", JpegBuilder().Marker(marker::kEoi).Build(), {"位置:21(14h)", "标记:EOI", ""}},
    {"OneByteAfterEoiIsIgnored", JpegBuilder().Marker(marker::kEoi).Raw({0x00}).Build(),
     {"位置:21(14h)", "标记:EOI", ""}},
    {"TwoBytesAfterEoiAreWalked", JpegBuilder().Marker(marker::kEoi).Raw({0x12, 0x34}).Build(),
     {"位置:21(14h)", "标记:EOI", "", "位置:23(16h)", kNotAMarker}},
    {"MarkerAfterEoiIsReported", JpegBuilder().Marker(marker::kEoi).Marker(marker::kSoi).Build(),
     {"位置:21(14h)", "标记:EOI", "", "位置:23(16h)", "标记:SOI", ""}},
    {"ScanDataInMarkerPosition", JpegBuilder().Raw({0x12, 0x34}).Build(), {"位置:21(14h)", kNotAMarker}},
    // FF FF FF D8: the fill bytes share the position line of the first FF.
    {"FillBytesBeforeAMarker", JpegBuilder().Raw({0xFF, 0xFF}).Marker(marker::kSoi).Build(),
     {"位置:21(14h)", "标记:SOI", ""}},
    {"FillBytesUpToTheEnd", JpegBuilder().Repeat(3, marker::kPrefix).Build(), {"位置:21(14h)"}},
    // FF 00 has no length; the walk goes on right after it.
    {"StuffedZero", JpegBuilder().Marker(marker::kStuffedZero).Marker(marker::kEoi).Build(),
     {"位置:21(14h)", "标记:&HFF", "", "位置:23(16h)", "标记:EOI", ""}},
    {"LengthZero", JpegBuilder().MarkerWithLength(marker::kCom, 0).Text("ab").Build(),
     {"位置:21(14h)", "标记:COM", "长度:0(0h)", kBadLength}},
    {"LengthOne", JpegBuilder().MarkerWithLength(marker::kCom, 1).Text("ab").Build(),
     {"位置:21(14h)", "标记:COM", "长度:1(1h)", kBadLength}},
    {"LengthTwo", JpegBuilder().MarkerWithLength(marker::kCom, 2).Marker(marker::kEoi).Build(),
     {"位置:21(14h)", "标记:COM", "长度:2(2h)", "", "", "位置:25(18h)", "标记:EOI", ""}},
    // 64 declared, 5 bytes from the first length byte to the end.
    {"LengthPastTheEnd", JpegBuilder().MarkerWithLength(marker::kCom, 64).Text("abc").Build(),
     {"位置:21(14h)", "标记:COM", "长度:64(40h)", "", ""}},
    {"LargestLength", JpegBuilder().MarkerWithLength(marker::kCom, 0xFFFF).Text("a").Build(),
     {"位置:21(14h)", "标记:COM", "长度:65535(FFFFh)", "", ""}},
    // 80 00: a length with its top bit set is unsigned and walked in full.
    {"LengthWithTopBitSet",
     JpegBuilder().MarkerWithLength(marker::kCom, 0x8000).Repeat(0x8000 - 2, 'x').Marker(marker::kEoi).Build(),
     {"位置:21(14h)", "标记:COM", "长度:32768(8000h)", "", "", "位置:32791(8016h)", "标记:EOI", ""}},
    {"RestartMarkerReadsALength", JpegBuilder().MarkerWithLength(marker::kRst0, 4).Raw({0xAA, 0xBB}).Marker(marker::kEoi).Build(),
     {"位置:21(14h)", "标记:RST0", "长度:4(4h)", "", "", "位置:27(1Ah)", "标记:EOI", ""}},
    {"TemReadsALength", JpegBuilder().MarkerWithLength(marker::kTem, 2).Marker(marker::kEoi).Build(),
     {"位置:21(14h)", "标记:TEM", "长度:2(2h)", "", "", "位置:25(18h)", "标记:EOI", ""}},
    // The missing length bytes count as 0; what the file has still prints.
    {"MarkerCodeIsTheLastByte", JpegBuilder().Marker(marker::kCom).Build(),
     {"位置:21(14h)", "标记:COM", "长度:0(0h)", kBadLength}},
    {"MarkerCodeIsTheNextToLastByte", JpegBuilder().Marker(marker::kCom).Raw({0x07}).Build(),
     {"位置:21(14h)", "标记:COM", "长度:1792(700h)", kBadLength}},
    // FF DB 00 43, Pq/Tq 00 and 64 values of 1: the last value is the file's last byte.
    {"QuantisationSegmentEndsTheFile", JpegBuilder().MarkerWithLength(marker::kDqt, 67).Raw({0x00}).Repeat(64, 1).Build(),
     {"位置:21(14h)", "标记:DQT", "长度:67(43h)", "【量化表】", "Pq(精度):0", "Tq(编号):0", "1,1,1,1,1,1,1,1,",
      "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,",
      "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "", "", ""}},
    // FF DB 00 02: the length field is the file's last two bytes.
    {"FileEndsAfterALengthField", JpegBuilder().MarkerWithLength(marker::kDqt, 2).Build(),
     {"位置:21(14h)", "标记:DQT", "长度:2(2h)", "【量化表】", "", ""}},
    // FF DB 00 43 with only two bytes of it in the file: the table is cut.
    {"QuantisationSegmentCutByTheEnd", JpegBuilder().MarkerWithLength(marker::kDqt, 67).Raw({0x00, 0x01}).Build(),
     {"位置:21(14h)", "标记:DQT", "长度:67(43h)", "【量化表】", "Pq(精度):0", "Tq(编号):0", "", ""}},
};

INSTANTIATE_TEST_SUITE_P(Tails, WalkCaseTest, ::testing::ValuesIn(kWalkCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
