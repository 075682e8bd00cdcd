#include <gtest/gtest.h>

#include <string>

#include "tests/support/golden.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;
using testing::GoldenFile;

// Up to and including the last position line: a cut file may end its last
// block differently, but everything before it was decided by complete data.
std::string UpToLastPositionLine(const std::string& report) {
  const std::size_t start = report.rfind("位置:");
  return report.substr(0, report.find("\r\n", start) + 2);
}

class PrefixTest : public ::testing::TestWithParam<const char*> {};

// The memory file never fails, so any fault is a read outside the file.
TEST_P(PrefixTest, EveryPrefixAgreesWithTheWholeFile) {
  const Bytes whole = GoldenFile(GetParam());
  const std::string full = AnalyseBytes(whole).report;
  // Once the byte that ended the walk and one more are present, nothing changes.
  const std::size_t stop = std::stoul(full.substr(full.rfind("位置:") + std::string("位置:").size()));
  ASSERT_GT(whole.size(), 20U);
  for (std::size_t size = 21; size <= whole.size(); ++size) {
    SCOPED_TRACE("prefix of " + std::to_string(size) + " bytes");
    const auto [report, fault] = AnalyseBytes(Bytes(whole.begin(), whole.begin() + size));
    ASSERT_FALSE(fault) << fault->error.Description();
    ASSERT_EQ(full.substr(0, UpToLastPositionLine(report).size()), UpToLastPositionLine(report));
    if (size > stop) {
      ASSERT_EQ(report, full);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, PrefixTest,
                         ::testing::Values("baseline.jpg", "progressive.jpg", "arithmetic.jpg",
                                           "quality1.jpg"));

class DamagedFileTest : public ::testing::TestWithParam<int> {};

// Every byte of a real file set to every value (split by the value's high
// nibble to keep each case short): the walk must end in a report, never in a
// fault, and never read outside the file (checked by the sanitizer build).
TEST_P(DamagedFileTest, EverySingleByteChangeGivesAReport) {
  const Bytes original = GoldenFile("grayscale.jpg");
  Bytes file = original;
  for (std::size_t offset = 0; offset < file.size(); ++offset) {
    for (int low = 0; low <= 0x0F; ++low) {
      const int value = GetParam() * 16 + low;
      file[offset] = static_cast<std::uint8_t>(value);
      const auto [report, fault] = AnalyseBytes(file, low % 2 == 0);
      ASSERT_FALSE(fault) << "offset " << offset << " value " << value;
      ASSERT_TRUE(report.ends_with("\r\n")) << "offset " << offset << " value " << value;
    }
    file[offset] = original[offset];
  }
}

INSTANTIATE_TEST_SUITE_P(HighNibble, DamagedFileTest, ::testing::Range(0, 16));

}  // namespace
}  // namespace vellumark
