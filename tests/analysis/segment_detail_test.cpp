#include "analysis/segment_detail.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "analysis/jpeg_tables.h"
#include "analysis/marker_code.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::DhtTable;
using testing::DqtTable;
using testing::Join;
using testing::Lines;
using testing::SegmentBytes;

constexpr std::string_view kLengthsRow =
    "   1   2   3   4   5   6   7   8   9  10  11  12  13  14  15  16";
constexpr std::string_view kNoCountsRow =
    "   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0";
constexpr std::string_view kOneCodeOfLengthOne =
    "   1   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0";
constexpr std::string_view kHidden = "(已隐藏AC的Huffman表)";

std::string Detail(std::uint8_t code, const Bytes& segment, const AcOption& showAcCodes) {
  InitJpegTables();
  StringReportSink sink;
  ShowSegmentDetail(code, segment, showAcCodes, sink);
  return sink.TakeText();
}

std::string Detail(std::uint8_t code, const Bytes& segment, bool showAcCodes = false) {
  return Detail(code, segment, [showAcCodes] { return showAcCodes; });
}

// Values 2 + 5 (r + c) + r c of row r, column c, in zig-zag file order.
const Bytes kWorkedDqtValues = {
    2,  7,  7,  12, 13, 12, 17, 19, 19, 17, 22, 25, 26, 25, 22, 27,
    31, 33, 33, 31, 27, 32, 37, 40, 41, 40, 37, 32, 37, 43, 47, 49,
    49, 47, 43, 37, 49, 54, 57, 58, 57, 54, 49, 61, 65, 67, 67, 65,
    61, 73, 76, 77, 76, 73, 85, 87, 87, 85, 97, 98, 97, 109, 109, 121};

TEST(SegmentDetailTest, QuantisationTableInNaturalOrder) {
  // 00 43: length 67; 00: precision 0, table 0; 64 values.
  const Bytes segment = SegmentBytes(DqtTable(0x00, kWorkedDqtValues));
  ASSERT_EQ(segment.size(), 67U);
  EXPECT_EQ(Detail(marker::kDqt, segment), Lines({"【量化表】", "Pq(精度):0", "Tq(编号):0",
                                          "  2,  7, 12, 17, 22, 27, 32, 37,",
                                          "  7, 13, 19, 25, 31, 37, 43, 49,",
                                          " 12, 19, 26, 33, 40, 47, 54, 61,",
                                          " 17, 25, 33, 41, 49, 57, 65, 73,",
                                          " 22, 31, 40, 49, 58, 67, 76, 85,",
                                          " 27, 37, 47, 57, 67, 77, 87, 97,",
                                          " 32, 43, 54, 65, 76, 87, 98,109,",
                                          " 37, 49, 61, 73, 85, 97,109,121,", "", ""}));
}

// 00 2E: length 46. Table 00 (DC 0): counts 0 3 1, symbols 0 1 2 3. Table 10
// (AC 0): counts 0 2 1 3, symbols 01 02 03 00 04 11.
const Bytes kWorkedDhtSegment = SegmentBytes(
    Join({DhtTable(0x00, {0, 3, 1}, {0x00, 0x01, 0x02, 0x03}),
          DhtTable(0x10, {0, 2, 1, 3}, {0x01, 0x02, 0x03, 0x00, 0x04, 0x11})}));

std::string WorkedDhtText(const std::vector<std::string_view>& acCodeLines) {
  std::string text = Lines({"【Huffman表】", "Tc(DC/AC):0", "Th(编 号):0", kLengthsRow,
                            "   0   3   1   0   0   0   0   0   0   0   0   0   0   0   0   0",
                            "0\t00", "1\t01", "2\t10", "3\t110", "", "Tc(DC/AC):1", "Th(编 号):0",
                            kLengthsRow,
                            "   0   2   1   3   0   0   0   0   0   0   0   0   0   0   0   0"});
  return text + Lines(acCodeLines) + Lines({"", ""});
}

TEST(SegmentDetailTest, HuffmanTablesWithAcCodesHidden) {
  ASSERT_EQ(kWorkedDhtSegment.size(), 46U);
  EXPECT_EQ(Detail(marker::kDht, kWorkedDhtSegment, false), WorkedDhtText({kHidden}));
}

TEST(SegmentDetailTest, HuffmanTablesWithAcCodesShown) {
  EXPECT_EQ(Detail(marker::kDht, kWorkedDhtSegment, true),
            WorkedDhtText({"0/1\t00", "0/2\t01", "0/3\t100", "0/0\t1010", "0/4\t1011", "1/1\t1100"}));
}

// The option is asked afresh for each table, so its state at that moment counts.
TEST(SegmentDetailTest, AcOptionIsReadForEachTable) {
  const Bytes segment = SegmentBytes(Join({DhtTable(0x10, {1}, {0x01}), DhtTable(0x11, {1}, {0x02})}));
  int asked = 0;
  const std::string text = Detail(marker::kDht, segment, [&asked] { return ++asked > 1; });
  EXPECT_EQ(asked, 2);
  EXPECT_NE(text.find(std::string(kHidden) + "\r\n\r\nTc(DC/AC):1"), std::string::npos) << text;
  EXPECT_NE(text.find("0/2\t0\r\n"), std::string::npos) << text;
}

struct DetailCase {
  const char* name;
  std::uint8_t marker;
  Bytes segment;
  bool showAcCodes;
  std::string text;
};

class SegmentDetailCaseTest : public ::testing::TestWithParam<DetailCase> {};

TEST_P(SegmentDetailCaseTest, AppendsExactText) {
  EXPECT_EQ(Detail(GetParam().marker, GetParam().segment, GetParam().showAcCodes), GetParam().text);
}

Bytes Count(std::size_t n, std::uint8_t value) { return Bytes(n, value); }

Bytes ZeroToSixtyThree() {
  Bytes values(64);
  std::iota(values.begin(), values.end(), std::uint8_t{0});
  return values;
}

std::string GridOfOnes() {
  return Lines({"1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,",
                "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,", "1,1,1,1,1,1,1,1,"});
}

std::string EmptyHuffmanTable(std::string_view classLine, std::vector<std::string_view> after) {
  return Lines({"【Huffman表】", classLine, "Th(编 号):0", kLengthsRow, kNoCountsRow}) + Lines(after);
}

const DetailCase kDetailCases[] = {
    // 00 10 + 14 bytes: an APP0 segment gets only the line end.
    {"OtherMarkerAddsOneLineEnd", marker::kApp0, SegmentBytes(Count(14, 'J')), false, "\r\n"},
    {"DqtWithoutPayload", marker::kDqt, SegmentBytes({}), false, Lines({"【量化表】", ""})},
    {"DhtWithoutPayload", marker::kDht, SegmentBytes({}), false, Lines({"【Huffman表】", ""})},
    // Values 0..63 in file order: the grid is the zig-zag order of ITU-T T.81,
    // Figure A.6, row by row. The worked example is symmetric; this is not.
    {"GridIsNotTransposed", marker::kDqt, SegmentBytes(DqtTable(0x00, ZeroToSixtyThree())), false,
     Lines({"【量化表】", "Pq(精度):0", "Tq(编号):0", " 0, 1, 5, 6,14,15,27,28,",
            " 2, 4, 7,13,16,26,29,42,", " 3, 8,12,17,25,30,41,43,", " 9,11,18,24,31,40,44,53,",
            "10,19,23,32,39,45,52,54,", "20,22,33,38,46,51,55,60,", "21,34,37,47,50,56,59,61,",
            "35,36,48,49,57,58,62,63,", "", ""})},
    // One value of 100 widens every field of that table to three characters.
    {"OneThreeDigitValueWidensTheTable", marker::kDqt,
     SegmentBytes(DqtTable(0x01, Join({{100}, Count(63, 1)}))), false,
     Lines({"【量化表】", "Pq(精度):0", "Tq(编号):1", "100,  1,  1,  1,  1,  1,  1,  1,",
            "  1,  1,  1,  1,  1,  1,  1,  1,", "  1,  1,  1,  1,  1,  1,  1,  1,",
            "  1,  1,  1,  1,  1,  1,  1,  1,", "  1,  1,  1,  1,  1,  1,  1,  1,",
            "  1,  1,  1,  1,  1,  1,  1,  1,", "  1,  1,  1,  1,  1,  1,  1,  1,",
            "  1,  1,  1,  1,  1,  1,  1,  1,", "", ""})},
    {"TwoQuantisationTablesInOneSegment", marker::kDqt,
     SegmentBytes(Join({DqtTable(0x00, Count(64, 1)), DqtTable(0x01, Count(64, 1))})), false,
     Lines({"【量化表】", "Pq(精度):0", "Tq(编号):0"}) + GridOfOnes() +
         Lines({"", "Pq(精度):0", "Tq(编号):1"}) + GridOfOnes() + Lines({"", ""})},
    // 23 after a whole table: precision 2, table 3, and nothing to list.
    {"QuantisationSegmentEndsOneByteAfterATable", marker::kDqt,
     SegmentBytes(Join({DqtTable(0x00, Count(64, 1)), {0x23}})), false,
     Lines({"【量化表】", "Pq(精度):0", "Tq(编号):0"}) + GridOfOnes() +
         Lines({"", "Pq(精度):2", "Tq(编号):3", ""})},
    // Precision 1: 128 bytes of 16-bit values, read as 64 single bytes and then a
    // cut-off table whose first byte 25 reads as precision 2, table 5.
    {"SixteenBitTableIsReadAsBytes", marker::kDqt,
     SegmentBytes(DqtTable(0x10, Join({Count(64, 1), {0x25}, Count(63, 9)}))), false,
     Lines({"【量化表】", "Pq(精度):1", "Tq(编号):0"}) + GridOfOnes() +
         Lines({"", "Pq(精度):2", "Tq(编号):5", ""})},
    {"QuantisationTableCutInItsValues", marker::kDqt, SegmentBytes(DqtTable(0x01, Count(63, 1))), false,
     Lines({"【量化表】", "Pq(精度):0", "Tq(编号):1", ""})},
    {"DcTableWithoutCodes", marker::kDht, SegmentBytes(DhtTable(0x00, {}, {})), false,
     EmptyHuffmanTable("Tc(DC/AC):0", {"", ""})},
    {"HiddenAcTableWithoutCodes", marker::kDht, SegmentBytes(DhtTable(0x10, {}, {})), false,
     EmptyHuffmanTable("Tc(DC/AC):1", {kHidden, "", ""})},
    {"ShownAcTableWithoutCodes", marker::kDht, SegmentBytes(DhtTable(0x10, {}, {})), true,
     EmptyHuffmanTable("Tc(DC/AC):1", {"", ""})},
    // Three codes of length 1: the third, 10, needs two digits and gets them.
    {"OverfullLengthPrintsEveryDigit", marker::kDht, SegmentBytes(DhtTable(0x00, {3}, {0, 1, 2})), false,
     Lines({"【Huffman表】", "Tc(DC/AC):0", "Th(编 号):0", kLengthsRow,
            "   3   0   0   0   0   0   0   0   0   0   0   0   0   0   0   0", "0\t0", "1\t1",
            "2\t10", "", ""})},
    // AC symbols as run/size in upper-case hexadecimal; DC symbols in decimal.
    {"AcSymbolsAsRunAndSize", marker::kDht, SegmentBytes(DhtTable(0x13, {0, 0, 3}, {0xF0, 0xA2, 0x00})), true,
     Lines({"【Huffman表】", "Tc(DC/AC):1", "Th(编 号):3", kLengthsRow,
            "   0   0   3   0   0   0   0   0   0   0   0   0   0   0   0   0", "F/0\t000",
            "A/2\t001", "0/0\t010", "", ""})},
    {"DcSymbolsInDecimal", marker::kDht, SegmentBytes(DhtTable(0x01, {1}, {0xAB})), false,
     Lines({"【Huffman表】", "Tc(DC/AC):0", "Th(编 号):1", kLengthsRow, kOneCodeOfLengthOne,
            "171\t0", "", ""})},
    {"HuffmanTableCutInItsCounts", marker::kDht, SegmentBytes({0x00, 1, 2, 3, 4, 5}), false,
     Lines({"【Huffman表】", "Tc(DC/AC):0", "Th(编 号):0", ""})},
    // Counts promise two symbols; only one follows.
    {"HuffmanTableCutInItsSymbols", marker::kDht, SegmentBytes(DhtTable(0x01, {0, 2}, {0x07})), false,
     Lines({"【Huffman表】", "Tc(DC/AC):0", "Th(编 号):1", kLengthsRow,
            "   0   2   0   0   0   0   0   0   0   0   0   0   0   0   0   0", ""})},
};

INSTANTIATE_TEST_SUITE_P(Segments, SegmentDetailCaseTest, ::testing::ValuesIn(kDetailCases),
                         [](const auto& info) { return std::string(info.param.name); });

class HuffmanClassTest : public ::testing::TestWithParam<int> {};

// Every class other than 0 is listed as AC: hidden when the option is off,
// with run/size symbols when it is on.
TEST_P(HuffmanClassTest, NonZeroClassActsAsAc) {
  const auto classAndId = static_cast<std::uint8_t>(GetParam() << 4);
  const Bytes segment = SegmentBytes(DhtTable(classAndId, {1}, {0x05}));
  const std::string classLine = "Tc(DC/AC):" + std::to_string(GetParam());
  const std::string head =
      Lines({"【Huffman表】", classLine, "Th(编 号):0", kLengthsRow, kOneCodeOfLengthOne});
  EXPECT_EQ(Detail(marker::kDht, segment, false), head + Lines({kHidden, "", ""}));
  EXPECT_EQ(Detail(marker::kDht, segment, true), head + Lines({"0/5\t0", "", ""}));
}

INSTANTIATE_TEST_SUITE_P(Classes, HuffmanClassTest, ::testing::Range(1, 16));

}  // namespace
}  // namespace vellumark
