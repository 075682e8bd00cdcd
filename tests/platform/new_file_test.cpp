// A file written whole under a free name, or not at all: on POSIX and on Win32.
#include "platform/new_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/runtime_error.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::size_t EntriesIn(const TempDir& dir) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

TEST(NewFileTest, TakesTheNameOnlyOnceWritten) {
  TempDir dir;
  {
    NewFile file(dir / "picture.jpg");
    file.Write(BytesOf("first "));
    file.Write(BytesOf("second"));
    EXPECT_FALSE(std::filesystem::exists(dir / "picture.jpg"));
    file.Commit();
  }
  EXPECT_EQ(ReadWholeFile(dir / "picture.jpg"), "first second");
  EXPECT_EQ(EntriesIn(dir), 1U);
}

TEST(NewFileTest, NeverReplacesAFileThere) {
  TempDir dir;
  testing::WriteWholeFile(dir / "picture.jpg", "kept");
  try {
    NewFile file(dir / "picture.jpg");
    file.Write(BytesOf("new"));
    file.Commit();
    FAIL() << "committed over a file";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kFileExists);
  }
  EXPECT_EQ(ReadWholeFile(dir / "picture.jpg"), "kept");
  EXPECT_EQ(EntriesIn(dir), 1U);  // no temporary file left
}

TEST(NewFileTest, LeavesNothingWhenNotCommitted) {
  TempDir dir;
  {
    NewFile file(dir / "picture.jpg");
    file.Write(BytesOf("half"));
  }
  EXPECT_EQ(EntriesIn(dir), 0U);
}

TEST(NewFileTest, AMissingFolderIsError76) {
  TempDir dir;
  try {
    NewFile file(dir / "missing/picture.jpg");
    FAIL() << "made a file in a missing folder";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kPathNotFound);
  }
}

}  // namespace
}  // namespace vellumark
