#include "analysis/segment_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>

#include "tests/support/jpeg_builder.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::DhtTable;
using testing::DqtTable;
using testing::Join;

Bytes Prefix(const Bytes& bytes, std::size_t size) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

Bytes WithExtraByte(const Bytes& bytes) { return Join({bytes, {0x00}}); }

// Where a payload is cut: how many fields came out, in reading order, and
// whether they filled it exactly.
struct Cut {
  std::size_t size;
  int fieldsRead;
  std::size_t componentsRead;
  bool whole;
};

// 08: precision 8; 00 10: height 16; 00 20: width 32; 02: two components;
// 01 21 00: id 1, 2x1 sampling, table 0; 02 11 01: id 2, 1x1, table 1.
const Bytes kFrame = {0x08, 0x00, 0x10, 0x00, 0x20, 0x02, 0x01, 0x21, 0x00, 0x02, 0x11, 0x01};

int FieldsRead(const FrameFields& f) {
  return f.precision.has_value() + f.height.has_value() + f.width.has_value() + f.components.has_value();
}

class FrameCutTest : public ::testing::TestWithParam<Cut> {};

TEST_P(FrameCutTest, ReadsWhatFitsAndStops) {
  const Cut cut = GetParam();
  const FrameFields fields = ReadFrameFields(cut.size <= kFrame.size() ? Prefix(kFrame, cut.size)
                                                                       : WithExtraByte(kFrame));
  EXPECT_EQ(FieldsRead(fields), cut.fieldsRead);
  EXPECT_EQ(fields.components ? fields.components->size() : 0U, cut.componentsRead);
  EXPECT_EQ(fields.whole, cut.whole);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FrameCutTest,
                         ::testing::Values(Cut{0, 0, 0, false},    // empty
                                           Cut{2, 1, 0, false},    // height one byte short
                                           Cut{3, 2, 0, false},    // height whole
                                           Cut{4, 2, 0, false},    // width one byte short
                                           Cut{5, 3, 0, false},    // no count byte
                                           Cut{6, 4, 0, false},    // count, no component
                                           Cut{8, 4, 0, false},    // first component one byte short
                                           Cut{9, 4, 1, false},    // first component whole
                                           Cut{11, 4, 1, false},   // second one byte short
                                           Cut{12, 4, 2, true},    // exactly full
                                           Cut{13, 4, 2, false}));  // one byte extra

TEST(SegmentFieldsTest, FrameValues) {
  const FrameFields fields = ReadFrameFields(kFrame);
  EXPECT_EQ(fields.width, 32);
  ASSERT_EQ(fields.components->size(), 2U);
  const FrameComponent& first = (*fields.components)[0];
  EXPECT_EQ(std::tuple(first.id, first.h, first.v, first.tq), std::tuple(1, 2, 1, 0));
}

// 01: one component; 03 12: id 3, DC table 1, AC table 2; 00 3F: ss 0, se
// 63; 21: ah 2, al 1.
const Bytes kScan = {0x01, 0x03, 0x12, 0x00, 0x3F, 0x21};

int FieldsRead(const ScanFields& s) {
  return s.components.has_value() + s.ss.has_value() + s.se.has_value() + s.ah.has_value() + s.al.has_value();
}

class ScanCutTest : public ::testing::TestWithParam<Cut> {};

TEST_P(ScanCutTest, ReadsWhatFitsAndStops) {
  const Cut cut = GetParam();
  const ScanFields fields = ReadScanFields(cut.size <= kScan.size() ? Prefix(kScan, cut.size)
                                                                    : WithExtraByte(kScan));
  EXPECT_EQ(FieldsRead(fields), cut.fieldsRead);
  EXPECT_EQ(fields.components ? fields.components->size() : 0U, cut.componentsRead);
  EXPECT_EQ(fields.whole, cut.whole);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ScanCutTest,
                         ::testing::Values(Cut{0, 0, 0, false},   // no count byte
                                           Cut{2, 1, 0, false},   // component one byte short
                                           Cut{3, 1, 1, false},   // component whole, no ss
                                           Cut{4, 2, 1, false},   // ss, no se
                                           Cut{5, 3, 1, false},   // se, no ah/al byte
                                           Cut{6, 5, 1, true},    // ah and al from one byte
                                           Cut{7, 5, 1, false}));  // one byte extra

TEST(SegmentFieldsTest, WordWholeOnlyWhenExactlyTwoBytes) {
  EXPECT_FALSE(ReadWordFields(Bytes{0x01}).value);
  const WordFields exact = ReadWordFields(Bytes{0x01, 0x02});  // 258
  EXPECT_EQ(exact.value, 258);
  EXPECT_TRUE(exact.whole);
  const WordFields extra = ReadWordFields(Bytes{0x01, 0x02, 0x00});
  EXPECT_EQ(extra.value, 258);
  EXPECT_FALSE(extra.whole);
}

// 64 values in file (zig-zag) order, each 8-bit value its own index k, each
// 16-bit one 01 k: natural position 2 (row 0, column 2) is file index 5,
// position 8 (row 1, column 0) file index 2.
Bytes EightBitValues() {
  Bytes values(kQuantisationValues);
  for (std::size_t k = 0; k < values.size(); ++k) {
    values[k] = static_cast<std::uint8_t>(k);
  }
  return values;
}

Bytes SixteenBitValues() {
  Bytes values;
  for (std::uint8_t k = 0; k < kQuantisationValues; ++k) {
    values.insert(values.end(), {0x01, k});
  }
  return values;
}

TEST(SegmentFieldsTest, QuantisationValuesInNaturalOrder) {
  // 00: 8-bit table 0; 13: 16-bit table 3.
  const auto fields = ReadQuantisationFields(
      Join({DqtTable(0x00, EightBitValues()), DqtTable(0x13, SixteenBitValues())}), QuantisationPrecision::FromTable);
  ASSERT_EQ(fields.tables.size(), 2U);
  EXPECT_TRUE(fields.whole);
  EXPECT_EQ((*fields.tables[0].values)[2], 5);
  EXPECT_EQ((*fields.tables[0].values)[8], 2);
  EXPECT_EQ(fields.tables[1].precision, 1);
  EXPECT_EQ(fields.tables[1].id, 3);
  EXPECT_EQ((*fields.tables[1].values)[8], 0x0102);
}

struct DqtCut {
  Bytes payload;
  QuantisationPrecision rule;
  std::size_t tables;   // head bytes read
  std::size_t withValues;
  bool whole;
};

class DqtCutTest : public ::testing::TestWithParam<DqtCut> {};

TEST_P(DqtCutTest, CutTableKeepsItsHead) {
  const DqtCut& cut = GetParam();
  const auto fields = ReadQuantisationFields(cut.payload, cut.rule);
  ASSERT_EQ(fields.tables.size(), cut.tables);
  const auto withValues = std::count_if(fields.tables.begin(), fields.tables.end(),
                                       [](const QuantisationTable& t) { return t.values.has_value(); });
  EXPECT_EQ(static_cast<std::size_t>(withValues), cut.withValues);
  EXPECT_EQ(fields.whole, cut.whole);
}

// 00: 8-bit table with 64 bytes; 10: 16-bit table with 128 bytes. Where every
// table counts as 8-bit, the byte after the first 64 is a second head, with 63
// bytes left for it.
const Bytes kEightBit = DqtTable(0x00, EightBitValues());
const Bytes kSixteenBit = DqtTable(0x10, SixteenBitValues());
constexpr auto kFromTable = QuantisationPrecision::FromTable;
constexpr auto kEightBitRule = QuantisationPrecision::AlwaysEightBit;

INSTANTIATE_TEST_SUITE_P(
    Boundaries, DqtCutTest,
    ::testing::Values(DqtCut{Prefix(kEightBit, 64), kFromTable, 1, 0, false},  // one value short
                      DqtCut{kEightBit, kFromTable, 1, 1, true},
                      DqtCut{WithExtraByte(kEightBit), kFromTable, 2, 1, false},  // a lone head byte
                      DqtCut{kSixteenBit, kFromTable, 1, 1, true},
                      DqtCut{Prefix(kSixteenBit, 128), kFromTable, 1, 0, false},
                      DqtCut{kSixteenBit, kEightBitRule, 2, 1, false},  // 63 bytes after the second head
                      DqtCut{WithExtraByte(kSixteenBit), kEightBitRule, 2, 2, true}));

// 13: class 1, table 3; counts: two codes of length 2, one of length 3;
// symbols 04 05 06. 20 bytes.
const Bytes kHuffman = DhtTable(0x13, {0, 2, 1}, {0x04, 0x05, 0x06});

struct DhtCut {
  std::size_t size;
  std::size_t tables;
  int lastTableParts;  // 1 head only, 2 with counts, 3 with symbols
  bool whole;
};

class DhtCutTest : public ::testing::TestWithParam<DhtCut> {};

TEST_P(DhtCutTest, CutTableKeepsWhatFits) {
  const DhtCut cut = GetParam();
  const Bytes payload = cut.size <= kHuffman.size() ? Prefix(kHuffman, cut.size) : WithExtraByte(kHuffman);
  const auto fields = ReadHuffmanFields(payload);
  ASSERT_EQ(fields.tables.size(), cut.tables);
  const HuffmanTable& last = fields.tables.back();
  EXPECT_EQ(1 + last.counts.has_value() + last.symbols.has_value(), cut.lastTableParts);
  EXPECT_EQ(fields.whole, cut.whole);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, DhtCutTest,
                         ::testing::Values(DhtCut{16, 1, 1, false},   // one count short
                                           DhtCut{17, 1, 2, false},   // counts, no symbol
                                           DhtCut{19, 1, 2, false},   // one symbol short
                                           DhtCut{20, 1, 3, true},    // exactly full
                                           DhtCut{21, 2, 1, false}));  // a lone second head byte

struct IdentifierCase {
  Bytes payload;
  std::optional<std::string> identifier;
};

class IdentifierTest : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(IdentifierTest, PrintableBytesBeforeAnEarlyZero) {
  const auto identifier = ReadIdentifier(GetParam().payload);
  EXPECT_EQ(identifier ? std::optional<std::string>(*identifier) : std::nullopt, GetParam().identifier);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, IdentifierTest,
    ::testing::Values(IdentifierCase{{'E', 'x', 0x7E, 0x00}, "Ex~"}, IdentifierCase{{'E', 'x', 0x7F, 0x00}, {}},
                      IdentifierCase{{0x20, 0x00}, " "}, IdentifierCase{{0x1F, 0x00}, {}},
                      IdentifierCase{{'E', 'x'}, {}},                           // no 00 at all
                      IdentifierCase{Join({Bytes(64, 'A'), {0x00}}), std::string(64, 'A')},  // 00 at index 64
                      IdentifierCase{Join({Bytes(65, 'A'), {0x00}}), {}}));      // 00 at index 65

// "JFIF" 00; version 1.02; units 1; densities 300 and 72; thumbnail 3 x 4.
const Bytes kJfif = {'J', 'F', 'I', 'F', 0x00, 0x01, 0x02, 0x01, 0x01, 0x2C, 0x00, 0x48, 0x03, 0x04};

TEST(SegmentFieldsTest, JfifFieldsWhereAllFit) {
  const auto jfif = ReadJfifFields(kJfif);
  ASSERT_TRUE(jfif);
  EXPECT_EQ(std::tuple(jfif->minorVersion, jfif->units, jfif->xDensity, jfif->yDensity, jfif->thumbnailHeight),
            std::tuple(2, 1, 300, 72, 4));
  EXPECT_FALSE(ReadJfifFields(Prefix(kJfif, kJfif.size() - 1)));
  Bytes jfxx = kJfif;
  jfxx[3] = 'X';
  EXPECT_FALSE(ReadJfifFields(jfxx));
}

TEST(SegmentFieldsTest, FrameCodes) {
  // SOF0 and SOF15 at the ends; DHT, JPG and DAC inside the range, and
  // either neighbour of each.
  for (const std::uint8_t code : Bytes{0xC0, 0xC3, 0xC5, 0xC7, 0xC9, 0xCB, 0xCD, 0xCF}) {
    EXPECT_TRUE(IsFrameCode(code)) << int{code};
  }
  for (const std::uint8_t code : Bytes{0xBF, 0xC4, 0xC8, 0xCC, 0xD0}) {
    EXPECT_FALSE(IsFrameCode(code)) << int{code};
  }
}

}  // namespace
}  // namespace vellumark
