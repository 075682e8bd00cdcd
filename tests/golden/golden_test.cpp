#include <gtest/gtest.h>

#include <string>

#include "analysis/file_analysis.h"
#include "analysis/jpeg_tables.h"
#include "platform/local_file_system.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

struct GoldenCase {
  const char* jpeg;
  bool showAcCodes;
  const char* expected;
};

class GoldenReportTest : public ::testing::TestWithParam<GoldenCase> {};

// Real encoder output (see make-golden.sh) against reports checked by hand,
// byte for byte, line ends included.
TEST_P(GoldenReportTest, MatchesTheCheckedReport) {
  const std::string dir = std::string(VELLUMARK_GOLDEN_DIR) + "/";
  const std::string expected = testing::ReadWholeFile(dir + GetParam().expected);
  ASSERT_FALSE(expected.empty()) << GetParam().expected;
  InitJpegTables();
  LocalFileSystem files;
  StringReportSink sink;
  const bool ac = GetParam().showAcCodes;
  const auto fault = AnalyseToReport(files, dir + GetParam().jpeg, sink, [ac] { return ac; });
  ASSERT_FALSE(fault) << fault->error.Description();
  EXPECT_EQ(sink.Text(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encoder, GoldenReportTest,
    ::testing::Values(GoldenCase{"baseline.jpg", false, "baseline.expected"},
                      GoldenCase{"progressive.jpg", false, "progressive.expected"},
                      GoldenCase{"restart.jpg", false, "restart.expected"},
                      GoldenCase{"optimize.jpg", false, "optimize.expected"},
                      GoldenCase{"optimize.jpg", true, "optimize-ac.expected"},
                      GoldenCase{"arithmetic.jpg", false, "arithmetic.expected"},
                      GoldenCase{"grayscale.jpg", false, "grayscale.expected"},
                      GoldenCase{"quality1.jpg", false, "quality1.expected"}),
    [](const auto& info) {
      std::string name = info.param.expected;
      name = name.substr(0, name.find('.'));
      std::erase(name, '-');
      return name;
    });

}  // namespace
}  // namespace vellumark
