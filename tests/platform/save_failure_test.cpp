// Saving where the disk is full, and under names with spaces and Chinese
// characters: the old file stays whole and nothing is left behind.
#include <sys/mount.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/local_file_system.h"
#include "platform/runtime_error.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

std::size_t EntriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A 16 KiB file system of its own, where the test may mount one.
class FullDiskTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directory(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=16k") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here";
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) {
      ::umount(disk_.c_str());
    }
  }

  TempDir dir_;
  std::string disk_ = dir_ / "disk";
  bool mounted_ = false;
};

// The error of saving a 64 KiB report on the 16 KiB disk.
RuntimeError SaveTooMuch(const std::string& target) {
  try {
    LocalFileSystem().WriteText(target, std::string(64 * 1024, 'x'));
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "a 64 KiB report fitted on a 16 KiB disk";
  return RuntimeError(0, "");
}

TEST_F(FullDiskTest, FailedSaveKeepsTheOldReport) {
  const std::string target = disk_ + "/report.txt";
  WriteWholeFile(target, "old report\r\n");
  const RuntimeError error = SaveTooMuch(target);
  EXPECT_EQ(error.Number(), error_number::kDiskFull);
  EXPECT_EQ(error.Description(), "磁盘已满");
  EXPECT_EQ(ReadWholeFile(target), "old report\r\n");
  EXPECT_EQ(EntriesIn(disk_), 1U);
}

// A report with a second link is written in place; when the disk fills midway
// the usual box says so, and no temporary file is left.
TEST_F(FullDiskTest, InPlaceSaveThatFailsMidwayReportsTheFullDisk) {
  const std::string target = disk_ + "/report.txt";
  WriteWholeFile(target, "old report\r\n");
  std::filesystem::create_hard_link(target, disk_ + "/link.txt");
  EXPECT_EQ(SaveTooMuch(target).Number(), error_number::kDiskFull);
  EXPECT_EQ(EntriesIn(disk_), 2U);
}

TEST(SaveNameTest, SpacesAndChineseCharacters) {
  TempDir dir;
  const std::string target = dir / "报告 第一版.txt";
  WriteWholeFile(target, "old");
  LocalFileSystem files;
  files.WriteText(target, "标记:SOI\r\n");
  EXPECT_EQ(ReadWholeFile(target), "\xB1\xEA\xBC\xC7:SOI\r\n");
  EXPECT_EQ(EntriesIn(dir.Path()), 1U);
}

}  // namespace
}  // namespace vellumark
