// Saving into a folder that takes no new file: a file already there that may be
// written is written in place; a new name is refused.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

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

// Sets or clears the immutable flag of a folder (chattr +i): no name in it can
// be added or removed, while the files in it stay writable.
bool SetImmutable(const std::filesystem::path& folder, bool on) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return done;
}

// The folder "shown" holds report.txt and takes no new file: the real folder
// made immutable, or, where the file system has no such flag, a read-only view
// of it with the report mounted writable on top.
class ReadOnlyFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directory(real_);
    WriteWholeFile(real_ / "report.txt", "old report\r\n");
    if (SetImmutable(real_, true)) {
      immutable_ = true;
      shown_ = real_;
      return;
    }
    std::filesystem::create_directory(view_);
    if (::mount(real_.c_str(), view_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      GTEST_SKIP() << "neither chattr +i nor a bind mount works here";
    }
    mounts_ = 1;
    const std::string report = view_ / "report.txt";
    if (::mount(nullptr, view_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0 ||
        ::mount((real_ / "report.txt").c_str(), report.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      GTEST_SKIP() << "cannot make a read-only bind mount here";
    }
    mounts_ = 2;
    shown_ = view_;
  }
  void TearDown() override {
    if (immutable_) {
      SetImmutable(real_, false);
    }
    if (mounts_ == 2) {
      ::umount((view_ / "report.txt").c_str());
    }
    if (mounts_ >= 1) {
      ::umount(view_.c_str());
    }
  }

  TempDir dir_;
  std::filesystem::path real_ = dir_.Path() / "real";
  std::filesystem::path view_ = dir_.Path() / "view";
  std::filesystem::path shown_;
  bool immutable_ = false;
  int mounts_ = 0;
};

TEST_F(ReadOnlyFolderTest, WritesAFileThatIsThereInPlace) {
  LocalFileSystem files;
  files.WriteText(shown_ / "report.txt", "new\r\n");
  EXPECT_EQ(ReadWholeFile(real_ / "report.txt"), "new\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real_), {}), 1);
}

TEST_F(ReadOnlyFolderTest, RefusesANewName) {
  LocalFileSystem files;
  try {
    files.WriteText(shown_ / "new.txt", "new\r\n");
    FAIL() << "a new file was made in a folder that takes none";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kAccessDenied);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(real_), {}), 1);
}

}  // namespace
}  // namespace vellumark
