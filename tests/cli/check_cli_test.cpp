// vellumark-report --check run as a process: the lines, the exit status and
// what --quiet, --strict and --summary change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/report_process.h"

namespace vellumark {
namespace {

using testing::ProcessResult;
using testing::Quoted;
using testing::ReadWholeFile;
using testing::ReportCommand;
using testing::RunCommand;

const std::string kExamples = std::string(VELLUMARK_SOURCE_DIR) + "/tests/check/examples/";

// Run in the examples' folder, so that the names are bare as in the files.
ProcessResult RunInExamples(const std::vector<std::string>& args) {
  return RunCommand("cd " + Quoted(kExamples) + " && " + ReportCommand(args));
}

struct ExampleCase {
  const char* stem;
  int status;
};

class CheckExampleTest : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(CheckExampleTest, LineAndJsonByteForByte) {
  const std::string name = std::string(GetParam().stem) + ".jpg";
  const ProcessResult line = RunInExamples({"--check", name});
  EXPECT_EQ(line.out, ReadWholeFile(kExamples + GetParam().stem + ".check.txt"));
  EXPECT_EQ(line.status, GetParam().status);
  const ProcessResult json = RunInExamples({"--json", "--check", name});
  EXPECT_EQ(json.out, ReadWholeFile(kExamples + GetParam().stem + ".json"));
  EXPECT_EQ(json.status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Worked, CheckExampleTest,
                         ::testing::Values(ExampleCase{"ok-restart", 0}, ExampleCase{"damaged-flip-restart", 1},
                                           ExampleCase{"truncated-progressive", 1},
                                           ExampleCase{"warning-extra-bytes", 0}, ExampleCase{"damaged-overflow", 1},
                                           ExampleCase{"warning-default-tables", 0}),
                         [](const auto& info) {
                           std::string name = info.param.stem;
                           std::erase(name, '-');
                           return name;
                         });

struct ChoiceCase {
  const char* name;
  std::vector<std::string> options;
  std::string out;
  int status;
};

class CheckChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

// One file of each answer but UNSUPPORTED, in the order given.
TEST_P(CheckChoiceTest, LinesAndStatus) {
  std::vector<std::string> args = GetParam().options;
  for (const char* name : {"ok-restart.jpg", "warning-extra-bytes.jpg", "README.md", "missing.jpg"}) {
    args.emplace_back(name);
  }
  const ProcessResult run = RunInExamples(args);
  EXPECT_EQ(run.out, GetParam().out);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_TRUE(run.err.starts_with("vellumark-report: missing.jpg: ")) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CheckChoiceTest,
    ::testing::Values(ChoiceCase{"All",
                                 {"--check"},
                                 "ok-restart.jpg: OK\nwarning-extra-bytes.jpg: WARNING: extra-data at 2117\n"
                                 "README.md: NOT JPEG\nmissing.jpg: UNREADABLE\n",
                                 1},
                      ChoiceCase{"Quiet",
                                 {"--check", "--quiet", "-j", "2"},
                                 "README.md: NOT JPEG\nmissing.jpg: UNREADABLE\n",
                                 1},
                      ChoiceCase{"QuietAndStrict",
                                 {"--check", "--quiet", "--strict"},
                                 "warning-extra-bytes.jpg: WARNING: extra-data at 2117\n"
                                 "README.md: NOT JPEG\nmissing.jpg: UNREADABLE\n",
                                 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckCliTest, WarningFailsOnlyWhenStrict) {
  EXPECT_EQ(RunInExamples({"--check", "warning-default-tables.jpg"}).status, 0);
  EXPECT_EQ(RunInExamples({"--check", "--strict", "warning-default-tables.jpg"}).status, 1);
}

TEST(CheckCliTest, SummaryCountsEachVerdict) {
  const ProcessResult run = RunInExamples({"--check", "--summary", "--quiet", "ok-restart.jpg", "damaged-overflow.jpg",
                                           "truncated-progressive.jpg", "warning-extra-bytes.jpg", "README.md"});
  EXPECT_NE(run.err.find("vellumark-report: 1 OK, 1 WARNING, 1 DAMAGED, 1 TRUNCATED, 1 NOT JPEG, 0 UNSUPPORTED, "
                         "0 UNREADABLE\n"),
            std::string::npos)
      << run.err;
}

class CheckUsageTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CheckUsageTest, IsAUsageError) {
  std::vector<std::string> args = GetParam();
  args.emplace_back("ok-restart.jpg");
  const ProcessResult run = RunInExamples(args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(Combinations, CheckUsageTest,
                         ::testing::Values(std::vector<std::string>{"--check", "--table"},
                                           std::vector<std::string>{"--check", "--thumbnail"},
                                           std::vector<std::string>{"--check", "--thumbnail-png", "t.png"},
                                           std::vector<std::string>{"--check", "--ac"},
                                           std::vector<std::string>{"--quiet"},
                                           std::vector<std::string>{"--strict"},
                                           std::vector<std::string>{"--check", "--json", "--quiet"}));

}  // namespace
}  // namespace vellumark
