#include "cli/progress.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vellumark {
namespace {

struct LineCase {
  const char* name;
  std::uint64_t done;
  std::uint64_t known;
  bool allKnown;
  std::uint64_t bytesRead;
  double seconds;
  std::string line;
};

class ProgressLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLineTest, Reads) {
  const LineCase& c = GetParam();
  EXPECT_EQ(ProgressLine(c.done, c.known, c.allKnown, c.bytesRead, c.seconds), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ProgressLineTest,
    ::testing::Values(LineCase{"TimeLeft", 4, 10, true, 2'500'000, 2.0, "4/10 files, 2.5 MB, 2 files/s, 0:03 left"},
                      // More names may come: no time can be told.
                      LineCase{"NamesStillComing", 1, 1, false, 0, 1.0, "1/1+ files, 0.0 MB, 1 files/s"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
