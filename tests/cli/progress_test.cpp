#include "cli/progress.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vellumark {
namespace {

struct LineCase {
  const char* name;
  ProgressFigures figures;
  std::string line;
};

class ProgressLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ProgressLineTest, Reads) { EXPECT_EQ(ProgressLine(GetParam().figures), GetParam().line); }

INSTANTIATE_TEST_SUITE_P(
    Counts, ProgressLineTest,
    ::testing::Values(
        LineCase{"TimeLeft", {4, 10, true, std::nullopt, 2'500'000, 2.0},
                 "4/10 files, 2.5 MB, 1.2 MB/s, 2 files/s, 0:03 left"},
        // More names may come: no time can be told.
        LineCase{"NamesStillComing", {1, 1, false, std::nullopt, 0, 1.0}, "1/1+ files, 0.0 MB, 0.0 MB/s, 1 files/s"},
        // Counted ahead, the total and the time left come before the last name.
        LineCase{"CountedAhead", {2, 3, false, 8, 4'000'000, 1.0}, "2/8 files, 4.0 MB, 4.0 MB/s, 2 files/s, 0:03 left"},
        LineCase{"CountedAsFound", {2, 8, false, 8, 0, 1.0}, "2/8 files, 0.0 MB, 0.0 MB/s, 2 files/s, 0:03 left"},
        // Files added since they were counted: the count is no total.
        LineCase{"FoundMoreThanCounted", {2, 9, false, 8, 0, 1.0}, "2/9+ files, 0.0 MB, 0.0 MB/s, 2 files/s"},
        // The names found, once all are, win over the count.
        LineCase{"AllFoundFewerThanCounted", {2, 6, true, 8, 0, 1.0},
                 "2/6 files, 0.0 MB, 0.0 MB/s, 2 files/s, 0:02 left"},
        // Nothing done yet, or no time passed: no rate to tell the time by.
        LineCase{"NothingDone", {0, 8, true, std::nullopt, 0, 1.0}, "0/8 files, 0.0 MB, 0.0 MB/s, 0 files/s"},
        LineCase{"NoTimePassed", {0, 8, true, std::nullopt, 500, 0.0}, "0/8 files, 0.0 MB, 0.0 MB/s, 0 files/s"}),
    [](const auto& info) { return std::string(info.param.name); });

// Only a line that is drawn is worth counting the names ahead for.
TEST(ProgressTest, ShownOnlyWhereAsked) {
  const BatchCounts counts;
  EXPECT_TRUE(Progress(counts, true, false, OutputEncoding::Utf8).Shown());
  EXPECT_FALSE(Progress(counts, false, true, OutputEncoding::Utf8).Shown());
}

}  // namespace
}  // namespace vellumark
