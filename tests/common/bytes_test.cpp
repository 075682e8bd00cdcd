#include "common/bytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace vellumark {
namespace {

struct NibbleCase {
  std::uint8_t byte;
  std::uint8_t high;
  std::uint8_t low;
};

class NibbleTest : public ::testing::TestWithParam<NibbleCase> {};

TEST_P(NibbleTest, SplitsTheByte) {
  EXPECT_EQ(HighNibble(GetParam().byte), GetParam().high);
  EXPECT_EQ(LowNibble(GetParam().byte), GetParam().low);
}

INSTANTIATE_TEST_SUITE_P(Bytes, NibbleTest,
                         ::testing::Values(NibbleCase{0xAB, 0x0A, 0x0B}, NibbleCase{0x0F, 0x00, 0x0F},
                                           NibbleCase{0xF0, 0x0F, 0x00}, NibbleCase{0x00, 0x00, 0x00},
                                           NibbleCase{0xFF, 0x0F, 0x0F}));

struct WordCase {
  std::uint8_t first;
  std::uint8_t second;
  std::int32_t value;
};

class BigEndianWordTest : public ::testing::TestWithParam<WordCase> {};

// The byte that comes first in the file is the high byte, and the result is
// never negative.
TEST_P(BigEndianWordTest, FirstByteIsHigh) {
  EXPECT_EQ(BigEndianWord(GetParam().first, GetParam().second), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Lengths, BigEndianWordTest,
                         ::testing::Values(WordCase{0x00, 0x02, 2}, WordCase{0x00, 0x00, 0},
                                           WordCase{0x01, 0x00, 256}, WordCase{0x00, 0x10, 16},
                                           WordCase{0x7F, 0xFF, 32767}, WordCase{0x80, 0x00, 32768},
                                           WordCase{0xFF, 0xFF, 65535}));

struct BinaryCase {
  std::int32_t value;
  std::int32_t width;
  std::string digits;
};

class BinaryStringTest : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(BinaryStringTest, GivesThePaddedDigits) {
  EXPECT_EQ(BinaryString(GetParam().value, GetParam().width), GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BinaryStringTest,
    ::testing::Values(BinaryCase{5, 8, "00000101"}, BinaryCase{6, 2, "110"},  // never cut
                      BinaryCase{0, 0, "0"}, BinaryCase{0, 3, "000"}, BinaryCase{1, 1, "1"},
                      BinaryCase{6, -5, "110"}, BinaryCase{INT32_MAX, 0, std::string(31, '1')},
                      BinaryCase{-1, 0, std::string(32, '1')},
                      BinaryCase{INT32_MIN, 0, "1" + std::string(31, '0')},
                      BinaryCase{-2, 0, std::string(31, '1') + "0"},
                      BinaryCase{-1, 40, std::string(8, '0') + std::string(32, '1')}));

}  // namespace
}  // namespace vellumark
