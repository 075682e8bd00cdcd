#include "analysis/marker_catalogue.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::Lines;

struct NameCase {
  std::uint8_t code;
  const char* name;
};

class MarkerNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(MarkerNameTest, GivesTheMnemonic) { EXPECT_EQ(MarkerName(GetParam().code), GetParam().name); }

// Range ends, the codes that take precedence over the SOF range, and the codes
// below 0xC0.
INSTANTIATE_TEST_SUITE_P(
    Codes, MarkerNameTest,
    ::testing::Values(NameCase{0x00, "&HFF"}, NameCase{0x01, "TEM"}, NameCase{0x02, "RES"},
                      NameCase{0x7F, "RES"}, NameCase{0xBF, "RES"}, NameCase{0xC0, "SOF0"},
                      NameCase{0xC3, "SOF3"}, NameCase{0xC4, "DHT"}, NameCase{0xC5, "SOF5"},
                      NameCase{0xC8, "JPG"}, NameCase{0xCC, "DAC"}, NameCase{0xCF, "SOF15"},
                      NameCase{0xD0, "RST0"}, NameCase{0xD7, "RST7"}, NameCase{0xDF, "EXP"},
                      NameCase{0xE0, "APP0"}, NameCase{0xEF, "APP15"}, NameCase{0xF0, "JPG0"},
                      NameCase{0xFD, "JPG13"}, NameCase{0xFE, "COM"}, NameCase{0xFF, "JPEGCode"}));

TEST(MarkerHasLengthTest, FalseForExactlyFourCodes) {
  for (int code = 0; code <= 0xFF; ++code) {
    const bool expected = code != marker::kStuffedZero && code != marker::kSoi && code != marker::kEoi &&
                          code != marker::kPrefix;
    EXPECT_EQ(MarkerHasLength(static_cast<std::uint8_t>(code)), expected) << "code " << code;
  }
}

struct HexCase {
  std::uint8_t value;
  const char* digits;
};

class Hex2Test : public ::testing::TestWithParam<HexCase> {};

TEST_P(Hex2Test, GivesTwoUpperCaseDigits) { EXPECT_EQ(Hex2(GetParam().value), GetParam().digits); }

INSTANTIATE_TEST_SUITE_P(Values, Hex2Test,
                         ::testing::Values(HexCase{0x00, "00"}, HexCase{0x0A, "0A"}, HexCase{0x0F, "0F"},
                                           HexCase{0x10, "10"}, HexCase{0xC0, "C0"}, HexCase{0xFF, "FF"}));

TEST(MarkerCodeTableTest, ListsCodesC0ToFF) {
  const std::string expected = Lines({
      "JPEGCode:", "",
      "C0:SOF0", "C1:SOF1", "C2:SOF2", "C3:SOF3", "C4:DHT", "C5:SOF5", "C6:SOF6", "C7:SOF7",
      "C8:JPG", "C9:SOF9", "CA:SOF10", "CB:SOF11", "CC:DAC", "CD:SOF13", "CE:SOF14", "CF:SOF15",
      "D0:RST0", "D1:RST1", "D2:RST2", "D3:RST3", "D4:RST4", "D5:RST5", "D6:RST6", "D7:RST7",
      "D8:SOI", "D9:EOI", "DA:SOS", "DB:DQT", "DC:DNL", "DD:DRI", "DE:DHP", "DF:EXP",
      "E0:APP0", "E1:APP1", "E2:APP2", "E3:APP3", "E4:APP4", "E5:APP5", "E6:APP6", "E7:APP7",
      "E8:APP8", "E9:APP9", "EA:APP10", "EB:APP11", "EC:APP12", "ED:APP13", "EE:APP14", "EF:APP15",
      "F0:JPG0", "F1:JPG1", "F2:JPG2", "F3:JPG3", "F4:JPG4", "F5:JPG5", "F6:JPG6", "F7:JPG7",
      "F8:JPG8", "F9:JPG9", "FA:JPG10", "FB:JPG11", "FC:JPG12", "FD:JPG13",
      "FE:COM", "FF:JPEGCode",
  });
  ASSERT_EQ(expected.size(), 596U);
  EXPECT_EQ(MarkerCodeTable(), expected);
}

}  // namespace
}  // namespace vellumark
