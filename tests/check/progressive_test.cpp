// Progressive scans and MCU geometry, crafted with the tables of
// tests/support/crafted_picture.h. Grey 16×8 (two blocks) unless told; each scan
// here has a 10-byte SOS, the first at 146, and one data byte unless told.

#include <gtest/gtest.h>

#include "cli/check_report.h"
#include "tests/support/crafted_picture.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::CheckBytes;
using testing::CraftedHead;
using testing::FramePayload;
using testing::GreyFrame;
using testing::kCraftedAc;
using testing::kCraftedDc;
using testing::ScanPayload;
using testing::ScanWriter;

struct Scan {
  Bytes header;
  Bytes data;
};

Bytes Progressive(const std::vector<Scan>& scans, std::uint16_t width = 16, std::uint16_t restart = 0) {
  auto file = CraftedHead(0xC2, GreyFrame(width, 8), restart);
  for (const Scan& scan : scans) {
    file.Segment(0xDA, scan.header).Raw(scan.data);
  }
  return file.Marker(0xD9).Build();
}

Bytes Grey(std::uint8_t ss, std::uint8_t se, std::uint8_t ahAl, std::uint8_t tables = 0x00) {
  return ScanPayload({{1, tables}}, ss, se, ahAl);
}

// Two blocks of DC difference 0 (00 00), or of one refinement bit (0 0).
Scan DcFirst(std::uint8_t al) { return {Grey(0, 0, al), ScanWriter().Code(kCraftedDc, 0).Code(kCraftedDc, 0).Build()}; }
Scan DcRefine(std::uint8_t ahAl) { return {Grey(0, 0, ahAl), ScanWriter().Bits(0, 2).Build()}; }
// Two blocks, each EOB.
Scan Ac(std::uint8_t ss, std::uint8_t se, std::uint8_t ahAl, std::uint8_t tables = 0x00) {
  return {Grey(ss, se, ahAl, tables), ScanWriter().Code(kCraftedAc, 0).Code(kCraftedAc, 0).Build()};
}

using ProgressiveCase = testing::LineCase;

class ProgressiveTest : public testing::CheckLineTest {};

TEST_P(ProgressiveTest, PrintsTheLine) { ExpectTheLine(); }

INSTANTIATE_TEST_SUITE_P(
    Progression, ProgressiveTest,
    ::testing::Values(
        ProgressiveCase{"FullProgression", Progressive({DcFirst(1), Ac(1, 63, 1), DcRefine(0x10), Ac(1, 63, 0x10)}), "in.jpg: OK"},
        ProgressiveCase{"AcBeforeDc", Progressive({Ac(1, 63, 0), DcFirst(0)}), "in.jpg: DAMAGED: progression at 146 in scan 1; 100.0% intact"},
        ProgressiveCase{"RefineBeforeFirst", Progressive({DcRefine(0x10)}), "in.jpg: DAMAGED: progression at 146 in scan 1; 100.0% intact"},
        ProgressiveCase{"RefineOfAl2", Progressive({DcFirst(2), DcRefine(0x21)}), "in.jpg: OK"},
        ProgressiveCase{"RefineOfAl1AfterAl2", Progressive({DcFirst(2), DcRefine(0x10)}),
                        "in.jpg: DAMAGED: progression at 157 in scan 2; 100.0% intact"},
        ProgressiveCase{"DcFirstTwice", Progressive({DcFirst(0), DcFirst(0)}), "in.jpg: DAMAGED: progression at 157 in scan 2; 100.0% intact"},
        ProgressiveCase{"AcBandsOverlap", Progressive({DcFirst(0), Ac(1, 5, 0), Ac(5, 63, 0)}),
                        "in.jpg: DAMAGED: progression at 168 in scan 3; 100.0% intact"},
        ProgressiveCase{"AcBandsMeet", Progressive({DcFirst(0), Ac(1, 5, 0), Ac(6, 63, 0)}), "in.jpg: OK"},
        // Only the DC was ever coded: enough with EOI.
        ProgressiveCase{"DcAlone", Progressive({DcFirst(0)}), "in.jpg: OK"},
        // A DC scan needs no AC table, an AC scan no DC table.
        ProgressiveCase{"TablesTheScanDoesNotUse", Progressive({{Grey(0, 0, 0, 0x03), {0x0F}}, Ac(1, 63, 0, 0x30)}), "in.jpg: OK"}),
    testing::kCaseName);

INSTANTIATE_TEST_SUITE_P(
    BadScans, ProgressiveTest,
    ::testing::Values(
        ProgressiveCase{"SeBelowSs", Progressive({DcFirst(0), Ac(5, 4, 0)}), "in.jpg: DAMAGED: bad-scan at 157 in scan 2; 50.0% intact"},
        ProgressiveCase{"Se64", Progressive({DcFirst(0), Ac(1, 64, 0)}), "in.jpg: DAMAGED: bad-scan at 157 in scan 2; 50.0% intact"},
        ProgressiveCase{"DcWithAc", Progressive({Ac(0, 1, 0)}), "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        ProgressiveCase{"Al13", Progressive({DcFirst(13)}), "in.jpg: OK"},
        ProgressiveCase{"Al14", Progressive({DcFirst(14)}), "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        ProgressiveCase{"AhTwoAboveAl", Progressive({DcFirst(2), DcRefine(0x20)}), "in.jpg: DAMAGED: bad-scan at 157 in scan 2; 50.0% intact"}),
    testing::kCaseName);

TEST(ProgressiveTest, AcScanOfTwoComponentsIsBad) {
  // SOF is 3 bytes longer than grey: SOS at 149.
  const Bytes file = CraftedHead(0xC2, FramePayload(8, 8, 8, {{1, 0x11, 0}, {2, 0x11, 0}}))
                         .Segment(0xDA, ScanPayload({{1, 0x00}, {2, 0x00}}, 1, 63, 0))
                         .Raw({0x0F})
                         .Marker(0xD9)
                         .Build();
  EXPECT_EQ(CheckLine("in.jpg", CheckBytes(file)), "in.jpg: DAMAGED: bad-scan at 149 in scan 1; 0.0% intact\n");
}

// One 8×8 block: DC (SOS 146, data 156), AC first Ss 1 (SOS 157, data 167),
// AC refinement (SOS 168, data 178).
Bytes Refined(std::uint8_t se, ScanWriter first, ScanWriter refinement) {
  auto file = CraftedHead(0xC2, GreyFrame(8, 8));
  file.Segment(0xDA, Grey(0, 0, 0)).Raw(ScanWriter().Code(kCraftedDc, 0).Build());
  file.Segment(0xDA, Grey(1, se, 1)).Raw(first.Build());
  file.Segment(0xDA, Grey(1, se, 0x10)).Raw(refinement.Build());
  return file.Marker(0xD9).Build();
}

ScanWriter Eob() { return std::move(ScanWriter().Code(kCraftedAc, 0x00)); }
ScanWriter Zrl() { return std::move(ScanWriter().Code(kCraftedAc, 0xF0)); }

INSTANTIATE_TEST_SUITE_P(
    Refinement, ProgressiveTest,
    ::testing::Values(
        // A refinement ZRL passes 16 coefficients with no history.
        ProgressiveCase{"ZrlFillsTheBand", Refined(16, Eob(), Zrl()), "in.jpg: OK"},
        ProgressiveCase{"ZrlPastTheBand", Refined(15, Eob(), Zrl()),
                        "in.jpg: DAMAGED: coefficient-overflow at 178.0 in scan 3, MCU 0,0, pixel 0,0; 66.6% intact"},
        // Coefficient 1 is nonzero, so only 15 have no history.
        ProgressiveCase{"ZrlPastANonzero", Refined(16, std::move(ScanWriter().Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0)), Zrl()),
                        "in.jpg: DAMAGED: coefficient-overflow at 178.0 in scan 3, MCU 0,0, pixel 0,0; 66.6% intact"},
        ProgressiveCase{"Size1", Refined(16, Eob(), std::move(ScanWriter().Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0))), "in.jpg: OK"},
        // A first AC scan: a ZRL codes 16 coefficients, which must fit the band.
        ProgressiveCase{"FirstZrlFillsTheBand", Refined(16, Zrl(), Eob()), "in.jpg: OK"},
        ProgressiveCase{"FirstZrlPastTheBand", Refined(15, Zrl(), Eob()),
                        "in.jpg: DAMAGED: coefficient-overflow at 167.0 in scan 2, MCU 0,0, pixel 0,0; 66.6% intact"},
        ProgressiveCase{"FirstSize10", Refined(16, std::move(ScanWriter().Code(kCraftedAc, 0x0A, 0, 10).Code(kCraftedAc, 0)), Eob()),
                        "in.jpg: OK"},
        ProgressiveCase{"FirstSize11", Refined(16, std::move(ScanWriter().Code(kCraftedAc, 0x0B)), Eob()),
                        "in.jpg: DAMAGED: bad-value at 167.0 in scan 2, MCU 0,0, pixel 0,0; 66.6% intact"},
        ProgressiveCase{"Size2", Refined(16, Eob(), std::move(ScanWriter().Code(kCraftedAc, 0x02, 1, 2))),
                        "in.jpg: DAMAGED: bad-value at 178.0 in scan 3, MCU 0,0, pixel 0,0; 66.6% intact"}),
    testing::kCaseName);

TEST(ProgressiveTest, FaultyBlockLeavesNoHistory) {
  // AC first: block 0 sets coefficient 1; block 1 sets it too, then 111111 is
  // no code, at byte 168 (63 FF 00). The refinement (data at 180) gives block 0
  // a new coefficient (01, sign, correction of 1) and EOB, block 1 an EOB with
  // no correction bit: 8 bits exactly, so one bit more runs into EOI.
  const Bytes file = Progressive({DcFirst(0),
                                  {Grey(1, 63, 1), ScanWriter()
                                                       .Code(kCraftedAc, 0x01, 1, 1).Code(kCraftedAc, 0)
                                                       .Code(kCraftedAc, 0x01, 1, 1).Ones(6).Build()},
                                  {Grey(1, 63, 0x10), ScanWriter()
                                                          .Code(kCraftedAc, 0x01, 1, 1).Bits(0, 1).Code(kCraftedAc, 0)
                                                          .Code(kCraftedAc, 0).Build()}});
  EXPECT_EQ(CheckLine("in.jpg", CheckBytes(file)),
            "in.jpg: DAMAGED: bad-huffman-code at 168.0 in scan 2, MCU 1,0, pixel 8,0; 83.3% intact\n");
}

TEST(ProgressiveTest, EobRunEndsAtTheRestart) {
  // One block to an interval. Block 0's EOB1 with bit 1 runs over three
  // blocks; block 1 after RST0 still codes its own EOB, which a run carried
  // over would leave as an extra byte.
  const Bytes file = Progressive({{Grey(0, 0, 0), {0x3F, 0xFF, 0xD0, 0x3F}},
                                  {Grey(1, 63, 0), ScanWriter().Code(kCraftedAc, 0x10, 1, 1).Restart(0).Raw(Eob().Build()).Build()}},
                                 16, 1);
  EXPECT_EQ(CheckLine("in.jpg", CheckBytes(file)), "in.jpg: OK\n");
}

// 32×16: Y 2×2, Cb and Cr 1×1 (SOF at 71, 19 bytes; SOS at 152).
Bytes Colour(const Bytes& scan, const Bytes& data) {
  return CraftedHead(0xC0, FramePayload(8, 32, 16, {{1, 0x22, 0}, {2, 0x11, 0}, {3, 0x11, 0}}))
      .Segment(0xDA, scan).Raw(data).Marker(0xD9).Build();
}

ScanWriter EmptyBlocks(int blocks) {
  ScanWriter writer;
  for (int i = 0; i < blocks; ++i) {
    writer.Code(kCraftedDc, 0).Code(kCraftedAc, 0);
  }
  return writer;
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, ProgressiveTest,
    ::testing::Values(
        // Two MCUs of 6 blocks; data at 166; MCU 1 begins at bit 24.
        ProgressiveCase{"Interleaved", Colour(ScanPayload({{1, 0}, {2, 0}, {3, 0}}), EmptyBlocks(6).Ones(6).Build()),
                        "in.jpg: DAMAGED: bad-huffman-code at 169.0 in scan 1, MCU 1,0, pixel 16,0; 50.0% intact"},
        // Y alone: 4 × 2 blocks of 8×8 pixels; data at 162.
        ProgressiveCase{"LumaAlone", Colour(ScanPayload({{1, 0}}), EmptyBlocks(5).Ones(6).Build()),
                        "in.jpg: DAMAGED: bad-huffman-code at 164.4 in scan 1, MCU 1,1, pixel 8,8; 62.5% intact"},
        // Cb alone: 2 × 1 blocks of 16×16 pixels.
        ProgressiveCase{"ChromaAlone", Colour(ScanPayload({{2, 0}}), EmptyBlocks(1).Ones(6).Build()),
                        "in.jpg: DAMAGED: bad-huffman-code at 162.4 in scan 1, MCU 1,0, pixel 16,0; 50.0% intact"}),
    testing::kCaseName);

}  // namespace
}  // namespace vellumark
