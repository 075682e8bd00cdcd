// vellumark-report run as a process: exit status, standard output and standard
// error exactly as a script sees them.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/marker_catalogue.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

struct ProcessResult {
  int status;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (const char c : arg) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

ProcessResult RunReport(const std::vector<std::string>& args) {
  TempDir dir;
  std::string command = Quoted(VELLUMARK_REPORT_EXE);
  for (const std::string& arg : args) {
    command += " " + Quoted(arg);
  }
  command += " >" + Quoted(dir / "out") + " 2>" + Quoted(dir / "err") + " </dev/null";
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadWholeFile(dir / "out"), ReadWholeFile(dir / "err")};
}

const std::string kGoldenDir = std::string(VELLUMARK_GOLDEN_DIR) + "/";
const std::string kGood = kGoldenDir + "optimize.jpg";
const std::string kTooShortLine = "这不是JPEG图片文件！\r\n";

TEST(ReportCliTest, GoodFile) {
  const ProcessResult run = RunReport({kGood});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ReadWholeFile(kGoldenDir + "optimize.expected"));
  EXPECT_EQ(run.err, "");
}

TEST(ReportCliTest, AcOptionListsAcCodes) {
  const ProcessResult run = RunReport({"--ac", kGood});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ReadWholeFile(kGoldenDir + "optimize-ac.expected"));
}

// Damaged or foreign data is reported, not an error.
TEST(ReportCliTest, NonJpegIsReportedWithStatusZero) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const ProcessResult run = RunReport({dir / "note.txt"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kTooShortLine);
  EXPECT_EQ(run.err, "");
}

TEST(ReportCliTest, MissingFileIsAnError) {
  TempDir dir;
  const ProcessResult run = RunReport({dir / "missing.jpg"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vellumark-report: " + (dir / "missing.jpg") + ": 文件未找到 (error 53)\n");
}

// Like head(1): a header before each report and an empty line after it; a
// failed file does not stop the others.
TEST(ReportCliTest, BatchGoesOnAfterAFailure) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const std::string missing = dir / "missing.jpg";
  const ProcessResult run = RunReport({kGood, missing, dir / "note.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "==> " + kGood + " <==\r\n" + ReadWholeFile(kGoldenDir + "optimize.expected") +
                         "\r\n==> " + missing + " <==\r\n\r\n==> " + (dir / "note.txt") + " <==\r\n" +
                         kTooShortLine + "\r\n");
  EXPECT_EQ(run.err, "vellumark-report: " + missing + ": 文件未找到 (error 53)\n");
}

TEST(ReportCliTest, GbkEncoding) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const ProcessResult run = RunReport({"--encoding=gbk", dir / "note.txt"});
  EXPECT_EQ(run.status, 0);
  // 这不是 JPEG 图片文件 ！ in GBK
  EXPECT_EQ(run.out, "\xD5\xE2\xB2\xBB\xCA\xC7JPEG\xCD\xBC\xC6\xAC\xCE\xC4\xBC\xFE\xA3\xA1\r\n");
}

TEST(ReportCliTest, TableIsTheMarkerCodeTable) {
  const ProcessResult run = RunReport({"--table"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, MarkerCodeTable());
}

TEST(ReportCliTest, HelpPrintsUsage) {
  const ProcessResult run = RunReport({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("usage: vellumark-report")) << run.out;
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithTwoAndUsage) {
  const ProcessResult run = RunReport(GetParam().args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("vellumark-report: ")) << run.err;
  EXPECT_NE(run.err.find("usage: vellumark-report"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrorTest,
                         ::testing::Values(UsageCase{"NoFiles", {}}, UsageCase{"OnlyOptions", {"--ac"}},
                                           UsageCase{"UnknownOption", {"--bogus", kGood}},
                                           UsageCase{"UnknownEncoding", {"--encoding=latin1", kGood}},
                                           UsageCase{"TableWithAFile", {"--table", kGood}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
