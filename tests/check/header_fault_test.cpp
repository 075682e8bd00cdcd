// Faults of the headers, of the file's end and what cannot be decoded, each
// with the line it gives. Grey 16×8 pictures from tests/support/crafted_picture.h:
// SOF at 71, SOS at 146, the scan's one data byte 00 (two empty blocks) at 156, EOI at 157.
// With three components the SOF is 6 bytes longer: SOS at 152.

#include <gtest/gtest.h>

#include "cli/check_report.h"
#include "tests/support/crafted_picture.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::CheckBytes;
using testing::CraftedHead;
using testing::DhtTable;
using testing::FramePayload;
using testing::GreyFrame;
using testing::JpegBuilder;
using testing::kGreyScan;
using testing::ScanPayload;

const Bytes kEoi = {0xFF, 0xD9};
// Code-length counts: one code of 1 bit; two of 1 bit; one of 1 and one of 2; two of 2.
const std::array<std::uint8_t, 16> kOneBitCode{1};
const std::array<std::uint8_t, 16> kOneBitCodes{2};
const std::array<std::uint8_t, 16> kOneAndTwoBitCodes{1, 1};
const std::array<std::uint8_t, 16> kTwoBitCodes{0, 2};

// head, one SOS, its data, then tail (EOI unless told).
Bytes Picture(JpegBuilder head, const Bytes& scan = kGreyScan, const Bytes& data = {0x00}, const Bytes& tail = kEoi) {
  return head.Segment(0xDA, scan).Raw(data).Raw(tail).Build();
}

JpegBuilder Grey(std::uint8_t frameCode = 0xC0, const Bytes& frame = GreyFrame(16, 8)) {
  return CraftedHead(frameCode, frame);
}

JpegBuilder OneComponent(std::uint8_t hv, std::uint8_t tq = 0) {
  return Grey(0xC0, FramePayload(8, 16, 8, {{1, hv, tq}}));
}

// 16×16, Y 2×2, Cb 2×2, Cr 1×v: an MCU of 8 + v blocks.
JpegBuilder ThreeComponents(std::uint8_t crV) {
  return Grey(0xC0, FramePayload(8, 16, 16, {{1, 0x22, 0}, {2, 0x22, 0}, {3, static_cast<std::uint8_t>(0x10 | crV), 0}}));
}
const Bytes kThreeScan = ScanPayload({{1, 0x00}, {2, 0x00}, {3, 0x00}});

Bytes Segment(std::uint8_t code, const Bytes& payload) { return JpegBuilder().Segment(code, payload).Build(); }
Bytes Then(const Bytes& first, const Bytes& second) { return testing::Join({first, second}); }

using HeaderCase = testing::LineCase;

class HeaderFaultTest : public testing::CheckLineTest {};

TEST_P(HeaderFaultTest, PrintsTheLine) { ExpectTheLine(); }

INSTANTIATE_TEST_SUITE_P(
    Frames, HeaderFaultTest,
    ::testing::Values(
        HeaderCase{"SosBeforeSof", Picture(JpegBuilder().Marker(0xD8)), "in.jpg: DAMAGED: no-frame at 2 in scan 1; 0.0% intact"},
        HeaderCase{"Sof0At12Bit", Picture(Grey(0xC0, GreyFrame(16, 8, 12))), "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        HeaderCase{"Sof1At12Bit", Picture(Grey(0xC1, GreyFrame(16, 8, 12))), "in.jpg: OK"},
        HeaderCase{"Sof2At12Bit", Picture(Grey(0xC2, GreyFrame(16, 8, 12)), ScanPayload({{1, 0x00}}, 0, 0, 0)), "in.jpg: OK"},
        HeaderCase{"WidthZero", Picture(Grey(0xC0, GreyFrame(0, 8))), "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        HeaderCase{"Sampling4x4", Picture(OneComponent(0x44)), "in.jpg: OK"},
        HeaderCase{"Sampling5x1", Picture(OneComponent(0x51)), "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        // Slot 3 is a slot; nothing defined it.
        HeaderCase{"QuantisationSlot3", Picture(OneComponent(0x11, 3)), "in.jpg: DAMAGED: missing-table at 146 in scan 1; 0.0% intact"},
        HeaderCase{"QuantisationSlot4", Picture(OneComponent(0x11, 4)), "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        HeaderCase{"ComponentIdTwice", Picture(Grey(0xC0, FramePayload(8, 16, 8, {{1, 0x11, 0}, {1, 0x11, 0}}))),
                   "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        // Two components announced, one given.
        HeaderCase{"FrameShorterThanItsComponents", Picture(Grey(0xC0, {8, 0, 8, 0, 16, 2, 1, 0x11, 0})),
                   "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        HeaderCase{"NoComponents", Picture(Grey(0xC0, FramePayload(8, 16, 8, {}))), "in.jpg: DAMAGED: bad-frame at 71; 0.0% intact"},
        HeaderCase{"SecondFrame", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xC0, GreyFrame(16, 8)), kEoi)),
                   "in.jpg: DAMAGED: extra-frame at 157; 100.0% intact"},
        HeaderCase{"SecondSoi", Picture(Grey(), kGreyScan, {0x00, 0xFF, 0xD8}), "in.jpg: DAMAGED: unexpected-marker at 157; 100.0% intact"}),
    testing::kCaseName);

INSTANTIATE_TEST_SUITE_P(
    Markers, HeaderFaultTest,
    ::testing::Values(
        HeaderCase{"Reserved02", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0x02, {}), kEoi)), "in.jpg: WARNING: unknown-marker at 157"},
        HeaderCase{"ReservedBF", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xBF, {}), kEoi)), "in.jpg: WARNING: unknown-marker at 157"},
        HeaderCase{"Jpg0", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xF0, {}), kEoi)), "in.jpg: WARNING: unknown-marker at 157"},
        HeaderCase{"Jpg13", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xFD, {}), kEoi)), "in.jpg: WARNING: unknown-marker at 157"},
        HeaderCase{"Comment", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xFE, {'x'}), kEoi)), "in.jpg: OK"},
        // Its length field reaches past the file's end.
        HeaderCase{"Jpg0CutOff", Picture(Grey(), kGreyScan, {0x00}, {0xFF, 0xF0, 0x00, 0x09}),
                   "in.jpg: TRUNCATED: truncated-segment at 157; 100.0% intact"}),
    testing::kCaseName);

INSTANTIATE_TEST_SUITE_P(
    Scans, HeaderFaultTest,
    ::testing::Values(
        HeaderCase{"ComponentNotInFrame", Picture(Grey(), ScanPayload({{2, 0x00}})), "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        HeaderCase{"ComponentTwice", Picture(Grey(), ScanPayload({{1, 0x00}, {1, 0x00}})), "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        HeaderCase{"NoComponentsInScan", Picture(Grey(), ScanPayload({})), "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        HeaderCase{"ScanShorterThanItsComponents", Picture(Grey(), {2, 1, 0x00, 0, 63, 0}),
                   "in.jpg: DAMAGED: bad-scan at 146 in scan 1; 0.0% intact"},
        HeaderCase{"TenBlocksInMcu", Picture(ThreeComponents(2), kThreeScan, Bytes(5, 0x00)), "in.jpg: OK"},
        HeaderCase{"ElevenBlocksInMcu", Picture(ThreeComponents(3), kThreeScan, Bytes(6, 0x00)),
                   "in.jpg: DAMAGED: bad-scan at 152 in scan 1; 0.0% intact"},
        // Decoded as 0..63 anyway.
        HeaderCase{"SequentialSs1", Picture(Grey(), ScanPayload({{1, 0x00}}, 1, 63, 0)), "in.jpg: WARNING: scan-parameters at 146"},
        HeaderCase{"SequentialSe62", Picture(Grey(), ScanPayload({{1, 0x00}}, 0, 62, 0)), "in.jpg: WARNING: scan-parameters at 146"},
        HeaderCase{"SequentialAl1", Picture(Grey(), ScanPayload({{1, 0x00}}, 0, 63, 0x01)), "in.jpg: WARNING: scan-parameters at 146"},
        // DC table 2 with codes 0 and 1: 1 is all 1-bits, so the table defines nothing.
        HeaderCase{"TableWithAnAllOnesCode", Picture(Grey().Segment(0xC4, DhtTable(0x02, kOneBitCodes, {0, 1})), ScanPayload({{1, 0x20}})),
                   "in.jpg: DAMAGED: missing-table at 169 in scan 1; 0.0% intact"},
        // Codes 0 and 10 leave 11 free: DC 0 (0) and EOB (00), twice.
        HeaderCase{"TableOneCodeShortOfFull", Picture(Grey().Segment(0xC4, DhtTable(0x02, kOneAndTwoBitCodes, {0, 1})), ScanPayload({{1, 0x20}})),
                   "in.jpg: OK"},
        // DC table 4 is no slot: it must not take AC table 0's place, whose EOB is 00.
        HeaderCase{"DhtTable4DefinesNothing", Picture(Grey().Segment(0xC4, DhtTable(0x04, kOneBitCode, {0xFF}))), "in.jpg: OK"},
        // DC table 2 codes 00 and 01 only. MCU 0 is 00, 01 1 (AC 01), 00 (EOB): the one bit left, 1, begins no code.
        HeaderCase{"OneBitLeftBeginsNoCode",
                   Picture(Grey().Segment(0xC4, DhtTable(0x02, kTwoBitCodes, {0, 1})), ScanPayload({{1, 0x20}}), {0x19}),
                   "in.jpg: DAMAGED: bad-huffman-code at 179.7 in scan 1, MCU 1,0, pixel 8,0; 50.0% intact"},
        HeaderCase{"AcTable2Undefined", Picture(Grey(), ScanPayload({{1, 0x02}})), "in.jpg: DAMAGED: missing-table at 146 in scan 1; 0.0% intact"},
        // Standard chroma DC table: category 0 is 00, as in the crafted one.
        HeaderCase{"DcTable1Standard", Picture(Grey(), ScanPayload({{1, 0x10}})), "in.jpg: WARNING: default-huffman-table at 146"},
        // No DHT: SOS at 90; DC 0 (00) and EOB (1010) of the standard luma tables, twice.
        HeaderCase{"NoDht", Picture(CraftedHead(0xC0, GreyFrame(16, 8), 0, false), kGreyScan, {0x28, 0xAF}),
                   "in.jpg: WARNING: default-huffman-table at 90"},
        // 00 read with the standard luma tables: DC 0, then AC 00 (run 0, size 1) and its bit twice; EOI at 101.
        HeaderCase{"NoDhtCraftedBits", Picture(CraftedHead(0xC0, GreyFrame(16, 8), 0, false)),
                   "in.jpg: DAMAGED: premature-end at 101 in scan 1, MCU 0,0, pixel 0,0; 0.0% intact"}),
    testing::kCaseName);

INSTANTIATE_TEST_SUITE_P(
    FileEnds, HeaderFaultTest,
    ::testing::Values(
        HeaderCase{"NoEoi", Picture(Grey(), kGreyScan, {0x00}, {}), "in.jpg: WARNING: missing-eoi at 157"},
        HeaderCase{"NoSos", Grey().Marker(0xD9).Build(), "in.jpg: DAMAGED: no-scan at 146; 0.0% intact"},
        HeaderCase{"CutBeforeTheScan", Grey().Build(), "in.jpg: TRUNCATED: missing-scans at 146; 0.0% intact"},
        // Only Y (2×2 blocks) is coded; EOI at 164.
        HeaderCase{"ComponentNeverCoded",
                   Picture(Grey(0xC0, FramePayload(8, 16, 16, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}})), kGreyScan, {0x00, 0x00}),
                   "in.jpg: DAMAGED: missing-scans at 164; 100.0% intact"},
        HeaderCase{"ComponentNeverCodedNoEoi",
                   Picture(Grey(0xC0, FramePayload(8, 16, 16, {{1, 0x11, 0}, {2, 0x11, 0}, {3, 0x11, 0}})), kGreyScan, {0x00, 0x00}, {}),
                   "in.jpg: TRUNCATED: missing-scans at 164; 100.0% intact"}),
    testing::kCaseName);

// The first reason in file order; data after EOI is not looked at.
INSTANTIATE_TEST_SUITE_P(
    Unsupported, HeaderFaultTest,
    ::testing::Values(
        HeaderCase{"Sof3", Picture(Grey(0xC3)), "in.jpg: UNSUPPORTED: lossless"},
        HeaderCase{"Sof11", Picture(Grey(0xCB)), "in.jpg: UNSUPPORTED: lossless"},
        HeaderCase{"Sof7", Picture(Grey(0xC7)), "in.jpg: UNSUPPORTED: hierarchical"},
        HeaderCase{"Sof9", Picture(Grey(0xC9)), "in.jpg: UNSUPPORTED: arithmetic coding"},
        HeaderCase{"Sof10", Picture(Grey(0xCA)), "in.jpg: UNSUPPORTED: arithmetic coding"},
        HeaderCase{"HeightZero", Picture(Grey(0xC0, GreyFrame(16, 0))), "in.jpg: UNSUPPORTED: height 0"},
        HeaderCase{"Sof5AfterTheScan", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xC5, GreyFrame(16, 8)), kEoi)),
                   "in.jpg: UNSUPPORTED: hierarchical"},
        HeaderCase{"ExpAfterTheScan", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xDF, {0x11}), kEoi)), "in.jpg: UNSUPPORTED: hierarchical"},
        HeaderCase{"DhpBeforeSof3",
                   Picture(JpegBuilder().Marker(0xD8).Segment(0xDE, GreyFrame(16, 8)).Segment(0xC3, GreyFrame(16, 8))),
                   "in.jpg: UNSUPPORTED: hierarchical"},
        HeaderCase{"Sof9ThenDhp", Picture(Grey(0xC9), kGreyScan, {0x00}, Then(Segment(0xDE, GreyFrame(16, 8)), kEoi)),
                   "in.jpg: UNSUPPORTED: arithmetic coding"},
        HeaderCase{"Sof3AfterSof0", Picture(Grey(), kGreyScan, {0x00}, Then(Segment(0xC3, GreyFrame(16, 8)), kEoi)),
                   "in.jpg: DAMAGED: extra-frame at 157; 100.0% intact"},
        HeaderCase{"DhpAfterEoi", Picture(Grey(), kGreyScan, {0x00}, Then(kEoi, Segment(0xDE, GreyFrame(16, 8)))), "in.jpg: OK"}),
    testing::kCaseName);

}  // namespace
}  // namespace vellumark
