// Faults inside a scan's entropy-coded data, each on both sides of the line
// the decoder draws, on grey frames 8 pixels high whose scans are written bit
// by bit with the crafted tables (tests/support/crafted_picture.h). The data
// of the one scan begins at byte 156; each empty block is 0000 (DC 0, EOB).

#include <gtest/gtest.h>

#include "cli/check_report.h"
#include "tests/support/crafted_picture.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::CheckBytes;
using testing::CraftedHead;
using testing::GreyFrame;
using testing::kCraftedAc;
using testing::kCraftedDc;
using testing::kGreyData;
using testing::kGreyScan;
using testing::ScanWriter;

ScanWriter Empty(int blocks) {
  ScanWriter writer;
  for (int i = 0; i < blocks; ++i) {
    writer.Code(kCraftedDc, 0).Code(kCraftedAc, 0x00);
  }
  return writer;
}

struct Grey {
  std::uint16_t width = 16;
  std::uint16_t restart = 0;
  std::uint8_t frameCode = 0xC0;
  std::uint8_t precision = 8;
  bool eoi = true;
};

Bytes GreyFile(const Bytes& data, Grey grey = {}) {
  auto file = CraftedHead(grey.frameCode, GreyFrame(grey.width, 8, grey.precision), grey.restart);
  file.Segment(0xDA, kGreyScan).Raw(data);
  if (grey.eoi) {
    file.Marker(0xD9);
  }
  return file.Build();
}

constexpr Grey kTwelveBit{.frameCode = 0xC1, .precision = 12};
constexpr Grey kFourIntervals{.width = 32, .restart = 1};

using ScanCase = testing::LineCase;

class EntropyFaultTest : public testing::CheckLineTest {};

TEST_P(EntropyFaultTest, PrintsTheLine) { ExpectTheLine(); }

TEST(CraftedHeadTest, GreyDataBeginsAt156) {
  EXPECT_EQ(GreyFile({}).size(), kGreyData + 2);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EntropyFaultTest,
    ::testing::Values(
        ScanCase{"TwoEmptyBlocks", GreyFile(Empty(2).Build()), "in.jpg: OK"},
        // After MCU 0, twelve 1-bits (FF 00 stuffed): 11111 begins no DC code.
        ScanCase{"OnesBeginNoCode", GreyFile(Empty(1).Ones(5).Build()),
                 "in.jpg: DAMAGED: bad-huffman-code at 156.4 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // 1111 before EOI (157) begins the code 11110.
        ScanCase{"FourOnesAtTheMarkerBeginACode", GreyFile(Empty(1).Ones(4).Build()),
                 "in.jpg: DAMAGED: premature-end at 157 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // MCU 0 is 11 bits (DC 1, two AC 1, EOB); the five 1-bits left begin nothing.
        ScanCase{"FiveOnesAtTheMarkerAreNoCode",
                 GreyFile(ScanWriter()
                              .Code(kCraftedDc, 1, 1, 1).Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0x01, 1, 1)
                              .Code(kCraftedAc, 0x00).Ones(5).Build()),
                 "in.jpg: DAMAGED: bad-huffman-code at 157.3 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // A fill FF before EOI: the marker begins at 157.
        ScanCase{"FillBeforeTheMarker", GreyFile(Empty(1).Ones(4).Raw({0xFF}).Build()),
                 "in.jpg: DAMAGED: premature-end at 157 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // MCU 1's DC extra bits make byte 157 FF (stuffed 00 at 158); MCU 2's code is at 159, bit 3.
        ScanCase{"CodeAfterAStuffedByte",
                 GreyFile(Empty(1).Code(kCraftedDc, 11, 0x7FF, 11).Code(kCraftedAc, 0).Ones(5).Build(), {.width = 24}),
                 "in.jpg: DAMAGED: bad-huffman-code at 159.3 in scan 1, MCU 2,0, pixel 16,0; 66.6% intact"},
        ScanCase{"CutWithoutEoi", GreyFile(Empty(1).Ones(4).Build(), {.eoi = false}),
                 "in.jpg: TRUNCATED: premature-end at 157 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // DC category 11 needs 11 extra bits; two are there before EOI.
        ScanCase{"ExtraBitsPastTheMarker", GreyFile(Empty(1).Code(kCraftedDc, 11, 0, 2).Build()),
                 "in.jpg: DAMAGED: premature-end at 157 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"}),
    testing::kCaseName);

// The bad ones lack their extra bits too: a symbol is judged before them.
INSTANTIATE_TEST_SUITE_P(
    Values, EntropyFaultTest,
    ::testing::Values(
        ScanCase{"DcCategory11", GreyFile(Empty(1).Code(kCraftedDc, 11, 0x400, 11).Code(kCraftedAc, 0).Build()),
                 "in.jpg: OK"},
        ScanCase{"DcCategory12", GreyFile(Empty(1).Code(kCraftedDc, 12).Build()),
                 "in.jpg: DAMAGED: bad-value at 156.4 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        ScanCase{"DcCategory15At12Bit",
                 GreyFile(Empty(1).Code(kCraftedDc, 15, 0x4000, 15).Code(kCraftedAc, 0).Build(), kTwelveBit),
                 "in.jpg: OK"},
        ScanCase{"DcCategory16At12Bit",
                 GreyFile(Empty(1).Code(kCraftedDc, 16).Build(), kTwelveBit),
                 "in.jpg: DAMAGED: bad-value at 156.4 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        ScanCase{"AcSize10",
                 GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x0A, 0x200, 10).Code(kCraftedAc, 0).Build()),
                 "in.jpg: OK"},
        ScanCase{"AcSize11",
                 GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x0B).Build()),
                 "in.jpg: DAMAGED: bad-value at 156.6 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        ScanCase{"AcSize14At12Bit",
                 GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x0E, 0x2000, 14).Code(kCraftedAc, 0).Build(),
                          kTwelveBit),
                 "in.jpg: OK"},
        ScanCase{"AcSize15At12Bit",
                 GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x0F).Build(),
                          kTwelveBit),
                 "in.jpg: DAMAGED: bad-value at 156.6 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        // Size 0 means EOB with run 0 and ZRL with run 15 only.
        ScanCase{"SizeZeroWithRun1", GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x10).Build()),
                 "in.jpg: DAMAGED: bad-value at 156.6 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        ScanCase{"SizeZeroWithRun5", GreyFile(Empty(1).Code(kCraftedDc, 0).Code(kCraftedAc, 0x50).Build()),
                 "in.jpg: DAMAGED: bad-value at 156.6 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"}),
    testing::kCaseName);

// MCU 0 codes E1 (coefficient 15), then ZRL ZRL (16..47); what follows decides.
ScanWriter To48() {
  ScanWriter writer;
  writer.Code(kCraftedDc, 0).Code(kCraftedAc, 0xE1, 1, 1).Code(kCraftedAc, 0xF0).Code(kCraftedAc, 0xF0);
  return writer;
}

INSTANTIATE_TEST_SUITE_P(
    Overflow, EntropyFaultTest,
    ::testing::Values(
        // ZRL 48..63 ends the block exactly: no EOB follows.
        ScanCase{"ZrlEndingAt63", GreyFile(To48().Code(kCraftedAc, 0xF0).Code(kCraftedDc, 0).Code(kCraftedAc, 0).Build()),
                 "in.jpg: OK"},
        // Coefficient 48, then a ZRL 49..64; its code is bit 15.
        ScanCase{"ZrlEndingAt64",
                 GreyFile(To48().Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0xF0).Build()),
                 "in.jpg: DAMAGED: coefficient-overflow at 157.7 in scan 1, MCU 0,0, pixel 0,0; 0.0% intact"},
        // Coefficient 48, then E1 lands on 63.
        ScanCase{"CoefficientAt63",
                 GreyFile(To48().Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0xE1, 1, 1)
                              .Code(kCraftedDc, 0).Code(kCraftedAc, 0).Build()),
                 "in.jpg: OK"},
        // Coefficients 48 and 49, then E1 lands on 64; its code is bit 18.
        ScanCase{"CoefficientAt64",
                 GreyFile(To48().Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0x01, 1, 1)
                              .Code(kCraftedAc, 0xE1, 1, 1).Build()),
                 "in.jpg: DAMAGED: coefficient-overflow at 158.2 in scan 1, MCU 0,0, pixel 0,0; 0.0% intact"},
        // DC 11 first makes 32 bits that end with E1's code: the run is judged before the missing sign bit.
        ScanCase{"OverflowBeforeItsSignBit",
                 GreyFile(ScanWriter().Code(kCraftedDc, 11, 0, 11).Code(kCraftedAc, 0xE1, 1, 1).Code(kCraftedAc, 0xF0)
                              .Code(kCraftedAc, 0xF0).Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0x01, 1, 1)
                              .Code(kCraftedAc, 0xE1).Build()),
                 "in.jpg: DAMAGED: coefficient-overflow at 159.5 in scan 1, MCU 0,0, pixel 0,0; 0.0% intact"}),
    testing::kCaseName);

// One MCU to an interval, each written 0F: 0000 and padding.
INSTANTIATE_TEST_SUITE_P(
    Restarts, EntropyFaultTest,
    ::testing::Values(
        ScanCase{"InOrder", GreyFile({0x0F, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: OK"},
        // 0F RST0 0F RST2(160) 0F: interval 1's data and RST1 are gone; RST2 ends interval 2.
        ScanCase{"IntervalLost", GreyFile({0x0F, 0xFF, 0xD0, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: DAMAGED: restart-out-of-order at 160 in scan 1, MCU 2,0, pixel 16,0; 75.0% intact"},
        ScanCase{"EoiWhereRst1Belongs", GreyFile({0x0F, 0xFF, 0xD0, 0x0F}, kFourIntervals),
                 "in.jpg: DAMAGED: missing-restart at 160 in scan 1, MCU 2,0, pixel 16,0; 50.0% intact"},
        ScanCase{"FileEndsWhereRst1Belongs", GreyFile({0x0F, 0xFF, 0xD0, 0x0F}, {.width = 32, .restart = 1, .eoi = false}),
                 "in.jpg: TRUNCATED: missing-restart at 160 in scan 1, MCU 2,0, pixel 16,0; 50.0% intact"},
        // FF 00 is eight 1-bits: no code. RST0 ends interval 0 itself.
        ScanCase{"FaultThenItsOwnRestart", GreyFile({0xFF, 0x00, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: DAMAGED: bad-huffman-code at 156.0 in scan 1, MCU 0,0, pixel 0,0; 75.0% intact"},
        // RST1 ends interval 1, so interval 1 is skipped too.
        ScanCase{"FaultThenTheNextRestart", GreyFile({0xFF, 0x00, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: DAMAGED: bad-huffman-code at 156.0 in scan 1, MCU 0,0, pixel 0,0; 50.0% intact"},
        // No bits at all before RST0.
        ScanCase{"EmptyInterval", GreyFile({0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: DAMAGED: premature-end at 156 in scan 1, MCU 0,0, pixel 0,0; 75.0% intact"},
        // Twelve intervals: a fault in interval 2, then RST1, which ends interval 9 (9 mod 8 = 1);
        // decoding resumes with interval 10, whose RST2 follows: MCUs 0, 1, 10, 11 intact.
        ScanCase{"RestartNumbersWrap",
                 GreyFile({0x0F, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0xFF, 0x00, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F},
                          {.width = 96, .restart = 1}),
                 "in.jpg: DAMAGED: bad-huffman-code at 162.0 in scan 1, MCU 2,0, pixel 16,0; 33.3% intact"},
        ScanCase{"RestartAfterTheLastInterval",
                 GreyFile({0x0F, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F, 0xFF, 0xD3}, kFourIntervals),
                 "in.jpg: OK"},
        ScanCase{"ByteAfterTheTrailingRestart",
                 GreyFile({0x0F, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F, 0xFF, 0xD3, 0xAB}, kFourIntervals),
                 "in.jpg: WARNING: extra-data at 168"},
        ScanCase{"ByteBeforeARestart",
                 GreyFile({0x0F, 0xAB, 0xFF, 0xD0, 0x0F, 0xFF, 0xD1, 0x0F, 0xFF, 0xD2, 0x0F}, kFourIntervals),
                 "in.jpg: WARNING: extra-data at 157"}),
    testing::kCaseName);

// DC 0 = 0 and DC 1 = 1000000000000000: codes past the first lookup's bits.
const testing::HuffmanCodes kLongDc({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 1});

// The crafted head, then a DHT putting kLongDc in DC slot 0 (23 bytes): data at 179.
Bytes LongCodeFile(ScanWriter data) {
  return CraftedHead(0xC0, GreyFrame(16, 8))
      .Segment(0xC4, kLongDc.Dht(0x00))
      .Segment(0xDA, kGreyScan)
      .Raw(data.Build())
      .Marker(0xD9)
      .Build();
}

// MCU 0 is DC 0 and EOB (000); what follows is MCU 1, up to EOI at 181.
ScanWriter LongFirst() { return std::move(ScanWriter().Code(kLongDc, 0).Code(kCraftedAc, 0)); }

INSTANTIATE_TEST_SUITE_P(
    LongCodes, EntropyFaultTest,
    ::testing::Values(
        ScanCase{"SixteenBitCode", LongCodeFile(std::move(LongFirst().Code(kLongDc, 1, 1, 1).Code(kCraftedAc, 0))), "in.jpg: OK"},
        ScanCase{"ThirteenBitsBeginTheCode", LongCodeFile(std::move(LongFirst().Bits(0x1000, 13))),
                 "in.jpg: DAMAGED: premature-end at 181 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        ScanCase{"ThirteenBitsBeginNoCode", LongCodeFile(std::move(LongFirst().Bits(0x1001, 13))),
                 "in.jpg: DAMAGED: bad-huffman-code at 179.3 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"}),
    testing::kCaseName);

struct Extra {
  std::int64_t offset;
  std::int64_t length;
};

struct ExtraCase {
  const char* name;
  Bytes data;  // after the two empty blocks' byte 00 at 156
  std::vector<Extra> extras;
};

class ExtraDataTest : public ::testing::TestWithParam<ExtraCase> {};

TEST_P(ExtraDataTest, CountsFileBytesBeforeEachMarker) {
  const CheckSummary summary = CheckBytes(GreyFile(testing::Join({{0x00}, GetParam().data})));
  ASSERT_EQ(summary.faults.size(), GetParam().extras.size());
  for (std::size_t i = 0; i < summary.faults.size(); ++i) {
    EXPECT_EQ(summary.faults[i].kind, FaultKind::ExtraData);
    EXPECT_EQ(summary.faults[i].offset, GetParam().extras[i].offset);
    EXPECT_EQ(summary.faults[i].length, GetParam().extras[i].length);
    EXPECT_EQ(summary.faults[i].scan, 1);
    EXPECT_FALSE(summary.faults[i].mcu);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExtraDataTest,
    ::testing::Values(ExtraCase{"PaddingAlone", {}, {}},
                      ExtraCase{"StuffedByteCountsTwo", {0xAB, 0xFF, 0x00, 0xCD}, {{157, 4}}},
                      // Without restart intervals an RST is passed over.
                      ExtraCase{"OneRunBeforeEachMarker", {0xAB, 0xFF, 0xD0, 0xCD, 0xEF}, {{157, 1}, {160, 2}}}),
    testing::kCaseName);

// 120 intervals of one MCU, each FF 00 (no code) and its RST: a fault in
// each, every one resumed after its own marker, 4 bytes apart.
TEST(FaultListTest, KeepsTheFirst100AndCountsAll) {
  Bytes data;
  for (int interval = 0; interval < 120; ++interval) {
    data.insert(data.end(), {0xFF, 0x00, 0xFF, static_cast<std::uint8_t>(0xD0 + interval % 8)});
  }
  data.resize(data.size() - 2);  // no RST after the last interval
  const CheckSummary summary = CheckBytes(GreyFile(data, {.width = 960, .restart = 1}));
  EXPECT_EQ(summary.faultCount, 120);
  ASSERT_EQ(summary.faults.size(), 100U);
  EXPECT_EQ(summary.faults.back().offset, kGreyData + 99 * 4);
  EXPECT_EQ(summary.faults.back().mcu->column, 99);
  EXPECT_EQ(summary.mcus, 120);
  EXPECT_EQ(summary.intact, 0);
}

}  // namespace
}  // namespace vellumark
