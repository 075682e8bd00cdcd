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

// The number of the error that writing `text` to path throws, or 0.
std::int32_t ErrorOfWriting(const std::string& path, const std::string& text) {
  try {
    NewFile file(path);
    file.Write(BytesOf(text));
    file.Commit();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(NewFileTest, NeverReplacesAFileThere) {
  TempDir dir;
  testing::WriteWholeFile(dir / "picture.jpg", "kept");
  EXPECT_EQ(ErrorOfWriting(dir / "picture.jpg", "new"), error_number::kFileExists);
  EXPECT_EQ(ReadWholeFile(dir / "picture.jpg"), "kept");
  EXPECT_EQ(EntriesIn(dir), 1U);  // no temporary file left
}

TEST(NewFileTest, LeavesNothingWhenNotCommitted) {
  TempDir dir;
  NewFile(dir / "picture.jpg").Write(BytesOf("half"));
  EXPECT_EQ(EntriesIn(dir), 0U);
  EXPECT_EQ(ErrorOfWriting(dir / "missing/picture.jpg", "x"), error_number::kPathNotFound);
}

}  // namespace
}  // namespace vellumark
