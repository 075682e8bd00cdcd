#include "platform/binary_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/memory_byte_source.h"
#include "platform/runtime_error.h"
#include "tests/support/shrunk_source.h"

namespace vellumark {
namespace {

using testing::Bytes;

BinaryFile FileOf(const Bytes& bytes) { return BinaryFile(std::make_unique<MemoryByteSource>(bytes)); }

// Byte i of a long file is the low byte of i * 7, so any misplaced read shows.
Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7);
  }
  return bytes;
}

TEST(BinaryFileTest, PositionCountsFromOne) {
  BinaryFile file = FileOf({0x10, 0x20, 0x30, 0x40, 0x50});
  EXPECT_EQ(file.Length(), 5);
  EXPECT_EQ(file.Seek(), 1);
  EXPECT_EQ(file.Remaining(), 5);
  EXPECT_EQ(file.ReadByte(), 0x10);
  EXPECT_EQ(file.ReadBytes(3), (Bytes{0x20, 0x30, 0x40}));
  EXPECT_EQ(file.Seek(), 5);
  EXPECT_EQ(file.Remaining(), 1);
  file.SetSeek(2);
  EXPECT_EQ(file.ReadBytes(2), (Bytes{0x20, 0x30}));
  EXPECT_EQ(file.ReadBytes(1), Bytes{0x40});
  EXPECT_EQ(file.ReadBytes(0), Bytes{});
  file.SetSeek(9);
  EXPECT_EQ(file.Remaining(), 0);
}

// Reads that cross the read-ahead buffer's edges and jump backwards.
TEST(BinaryFileTest, ReadsAnywhereInALongFile) {
  const Bytes bytes = Pattern(300'000);
  BinaryFile file = FileOf(bytes);
  for (const std::int64_t position : {1, 131'071, 131'072, 131'073, 262'140, 5, 299'990, 2}) {
    file.SetSeek(position);
    const Bytes got = file.ReadBytes(10);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + (position - 1))) << position;
    EXPECT_EQ(file.ReadByte(), bytes[static_cast<std::size_t>(position + 9)]) << position;
  }
  file.SetSeek(1);
  EXPECT_EQ(file.ReadBytes(300'000), bytes);
}

struct PastEndCase {
  const char* name;
  std::function<void(BinaryFile&)> read;
};

class PastEndTest : public ::testing::TestWithParam<PastEndCase> {};

// Never made-up bytes: every read outside the file is error 62.
TEST_P(PastEndTest, RaisesError62) {
  BinaryFile file = FileOf({1, 2, 3, 4, 5});
  file.SetSeek(4);
  try {
    GetParam().read(file);
    FAIL() << "read succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 62);
    EXPECT_EQ(error.Description(), "输入超出文件尾");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reads, PastEndTest,
    ::testing::Values(
        PastEndCase{"OneByteAfterTheEnd", [](BinaryFile& f) { f.SetSeek(6); f.ReadByte(); }},
        PastEndCase{"TwoBytesWithOneLeft", [](BinaryFile& f) { f.SetSeek(5); f.ReadBytes(2); }},
        PastEndCase{"FarPastTheEnd", [](BinaryFile& f) { f.SetSeek(1'000'000); f.ReadByte(); }},
        PastEndCase{"PositionZero", [](BinaryFile& f) { f.SetSeek(0); f.ReadByte(); }},
        PastEndCase{"NegativeCount", [](BinaryFile& f) { f.ReadBytes(-1); }},
        PastEndCase{"HugeCount", [](BinaryFile& f) { f.ReadBytes(INT64_MAX); }},
        PastEndCase{"AfterClose", [](BinaryFile& f) { f.Close(); f.ReadByte(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BinaryFileTest, FileThatShrankRaisesError62AtTheReadPosition) {
  BinaryFile file(std::make_unique<testing::ShrunkByteSource>(Bytes{1, 2, 3}, 10));
  EXPECT_EQ(file.Length(), 10);
  EXPECT_EQ(file.ReadBytes(3), (Bytes{1, 2, 3}));
  try {
    file.ReadByte();
    FAIL() << "read succeeded";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 62);
  }
  EXPECT_EQ(file.Seek(), 4);
}

TEST(BinaryFileTest, ClosingTwiceIsHarmless) {
  BinaryFile file = FileOf({1, 2});
  file.Close();
  file.Close();
  EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace vellumark
