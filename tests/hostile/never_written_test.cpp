// The analysed file is only ever read: its bytes and modification time stay as
// they were, and it is opened for reading only.

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analysis/file_analysis.h"
#include "platform/local_file_system.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"

namespace vellumark {
namespace {

using testing::GoldenFile;
using testing::ReadWholeFile;
using testing::TempDir;

struct timespec ModificationTime(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mtim;
}

// The access mode of this process's open descriptor for path, from
// /proc/self/fdinfo; -1 when path is not open.
int OpenAccessMode(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(entry.path(), error) != std::filesystem::canonical(path)) {
      continue;
    }
    const std::string info = ReadWholeFile("/proc/self/fdinfo/" + entry.path().filename().string());
    const std::size_t flags = info.find("flags:");
    return static_cast<int>(std::stoul(info.substr(flags + 6), nullptr, 8)) & O_ACCMODE;
  }
  return -1;
}

class NeverWrittenTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto bytes = GoldenFile("optimize.jpg");
    original_.assign(bytes.begin(), bytes.end());
    testing::WriteWholeFile(path_, original_);
    // An old time shows any write; without write permission (for users other
    // than root) an open for writing fails outright.
    const struct timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
  }

  void ExpectUnchanged() {
    EXPECT_EQ(ReadWholeFile(path_), original_);
    const struct timespec now = ModificationTime(path_);
    EXPECT_EQ(now.tv_sec, 1'000'000'000);
    EXPECT_EQ(now.tv_nsec, 0);
  }

  TempDir dir_;
  const std::string path_ = dir_ / "photo.jpg";
  std::string original_;
  LocalFileSystem files_;
};

TEST_F(NeverWrittenTest, ReportLeavesTheFileAsItWas) {
  for (const bool showAcCodes : {false, true}) {
    StringReportSink sink;
    const auto fault = AnalyseToReport(files_, path_, sink, [=] { return showAcCodes; });
    ASSERT_FALSE(fault) << fault->error.Description();
    EXPECT_NE(sink.Text().find("标记:SOS"), std::string::npos);
  }
  ExpectUnchanged();
}

TEST_F(NeverWrittenTest, ThumbnailSearchLeavesTheFileAsItWas) {
  const ThumbnailOutcome outcome = SearchFileForThumbnail(files_, path_);
  ASSERT_FALSE(outcome.fault) << outcome.fault->error.Description();
  ExpectUnchanged();
}

TEST_F(NeverWrittenTest, OpensTheFileForReadingOnly) {
  const auto source = files_.OpenRead(path_);
  EXPECT_EQ(OpenAccessMode(path_), O_RDONLY);
}

}  // namespace
}  // namespace vellumark
