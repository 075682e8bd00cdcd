// Paths that name something other than a readable regular file, through the real
// file system: each must give its error at once, never a hang (a blocking open or
// an endless read is caught by the CTest timeout) and never a report.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "analysis/file_analysis.h"
#include "platform/local_file_system.h"
#include "tests/support/files.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::Lines;
using testing::RunningAsRoot;
using testing::TempDir;
using testing::WriteWholeFile;

struct NonRegularFileCase {
  const char* name;
  // Prepares the path in the folder and returns it.
  std::function<std::string(const TempDir&)> prepare;
  std::int32_t number;
};

const NonRegularFileCase kCases[] = {
    {"Folder", [](const TempDir& d) { return d.Path().string(); }, 75},
    // Without a writer, a blocking open of a FIFO would never return.
    {"Fifo",
     [](const TempDir& d) {
       ::mkfifo((d / "fifo.jpg").c_str(), 0600);
       return d / "fifo.jpg";
     },
     75},
    // Endless devices: a walk over them would never reach an end.
    {"DevZero", [](const TempDir&) { return std::string("/dev/zero"); }, 75},
    {"DevUrandom", [](const TempDir&) { return std::string("/dev/urandom"); }, 75},
    {"LinkToADevice",
     [](const TempDir& d) {
       std::filesystem::create_symlink("/dev/zero", d / "zero.jpg");
       return d / "zero.jpg";
     },
     75},
    {"DanglingLink",
     [](const TempDir& d) {
       std::filesystem::create_symlink(d / "gone.jpg", d / "link.jpg");
       return d / "link.jpg";
     },
     53},
    {"NoReadPermission",
     [](const TempDir& d) {
       WriteWholeFile(d / "secret.jpg", "\xFF\xD8");
       ::chmod((d / "secret.jpg").c_str(), 0);
       return d / "secret.jpg";
     },
     70},
};

class NonRegularFileTest : public ::testing::TestWithParam<NonRegularFileCase> {
protected:
  void SetUp() override {
    if (GetParam().number == 70 && RunningAsRoot()) {
      GTEST_SKIP() << "root reads files whatever their mode";
    }
    path_ = GetParam().prepare(dir_);
  }

  TempDir dir_;
  std::string path_;
  LocalFileSystem files_;
};

// The open fails, so nothing is reported and there is no read position.
TEST_P(NonRegularFileTest, ReportGivesTheErrorAndNoLines) {
  StringReportSink sink;
  const auto fault = AnalyseToReport(files_, path_, sink, [] { return true; });
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), GetParam().number);
  EXPECT_FALSE(fault->readPosition);
  EXPECT_EQ(sink.Text(), "");
}

TEST_P(NonRegularFileTest, ThumbnailSearchGivesTheErrorAndNoAnswer) {
  const ThumbnailOutcome outcome = SearchFileForThumbnail(files_, path_);
  ASSERT_TRUE(outcome.fault);
  EXPECT_EQ(outcome.fault->error.Number(), GetParam().number);
  EXPECT_FALSE(outcome.answer.found);
}

INSTANTIATE_TEST_SUITE_P(Paths, NonRegularFileTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A FIFO with a writer holding it open and data waiting is refused just the
// same: its bytes are not a file's, and a read could wait for more forever.
TEST(NonRegularFileTest, FifoWithAWriterIsRefused) {
  TempDir dir;
  const std::string path = dir / "fifo.jpg";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);  // lets the writer open
  ASSERT_GE(reader, 0);
  const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "\xFF\xD8\xFF\xD9", 4), 4);
  LocalFileSystem files;
  StringReportSink sink;
  const auto fault = AnalyseToReport(files, path, sink, [] { return false; });
  ::close(writer);
  ::close(reader);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), 75);
  EXPECT_EQ(sink.Text(), "");
}

// A regular file that claims size 0 but has content when read (as files under
// /proc do) is taken at its size: the one short-file line, nothing read.
TEST(NonRegularFileTest, ProcFileIsTakenAtItsClaimedSize) {
  LocalFileSystem files;
  StringReportSink sink;
  const auto fault = AnalyseToReport(files, "/proc/self/status", sink, [] { return false; });
  ASSERT_FALSE(fault) << fault->error.Description();
  EXPECT_EQ(sink.Text(), Lines({"这不是JPEG图片文件！"}));
}

}  // namespace
}  // namespace vellumark
