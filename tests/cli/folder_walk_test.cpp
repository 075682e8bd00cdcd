#include "cli/folder_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/files.h"
#ifndef _WIN32
#include "tests/support/deep_folder.h"
#endif

namespace vellumark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

void MakeFile(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

// Paths go in and out of the program as UTF-8.
std::string Utf8(const fs::path& path) {
  const std::u8string text = path.generic_u8string();
  return {text.begin(), text.end()};
}

fs::path FromUtf8(const std::string& text) { return std::u8string(text.begin(), text.end()); }

// The walk's items below root, with "/" between names and "!" before a
// folder that could not be read.
std::vector<std::string> Walked(const fs::path& root) {
  std::vector<std::string> items;
  FolderWalk walk(Utf8(root));
  while (std::optional<WalkItem> item = walk.Next()) {
    items.push_back((item->fault ? "!" : "") + Utf8(FromUtf8(item->path).lexically_relative(root)));
  }
  return items;
}

// Each folder's entries in byte order, a folder's name as if it ended in "/":
// what LC_ALL=C sort makes of the whole paths.
TEST(FolderWalkTest, WholePathsInByteOrder) {
  TempDir dir;
  for (const char8_t* name : {u8"a0.jpg", u8"a/z.jpg", u8"a-b.jpg", u8"a/b/c.JPG", u8"B.jpeg", u8"é.jpg",
                              u8"x.jpe", u8"y.JFIF", u8"notes.txt", u8"a/b/photo.png", u8"empty.jpg/.keep"}) {
    MakeFile(dir.Path() / name);
  }
  EXPECT_EQ(Walked(dir.Path()), (std::vector<std::string>{"B.jpeg", "a-b.jpg", "a/b/c.JPG", "a/z.jpg", "a0.jpg",
                                                          "x.jpe", "y.JFIF", "é.jpg"}));
}

TEST(FolderWalkTest, FolderThatCannotBeReadIsAnItemWithItsFault) {
  TempDir dir;
  FolderWalk walk(dir / "missing");
  const std::optional<WalkItem> item = walk.Next();
  ASSERT_TRUE(item && item->fault);
  EXPECT_EQ(item->path, dir / "missing");
  EXPECT_EQ(item->fault->Number(), error_number::kFileNotFound);
  EXPECT_FALSE(walk.Next());
}

TEST(FolderWalkTest, RootEndingInASeparator) {
  TempDir dir;
  MakeFile(dir.Path() / "a.jpg");
  FolderWalk walk(dir / "");
  const std::optional<WalkItem> item = walk.Next();
  ASSERT_TRUE(item);
  EXPECT_EQ(item->path, dir / "a.jpg");
}

#ifndef _WIN32
using testing::DeepFolder;

// Each folder that cannot be read comes in its place, before the files after it.
TEST(FolderWalkTest, UnreadableFoldersInTheirPlaces) {
  TempDir dir;
  const DeepFolder first(dir.Path(), "a");
  const DeepFolder second(dir.Path(), "b");
  MakeFile(dir.Path() / "c.jpg");
  EXPECT_EQ(Walked(dir.Path()), (std::vector<std::string>{"!" + first.Relative(), "!" + second.Relative(), "c.jpg"}));
}

// A link inside the walk is skipped, whatever it points to; the root itself
// may be a link.
TEST(FolderWalkTest, LinksInsideAreNeitherFollowedNorAnalysed) {
  TempDir dir;
  MakeFile(dir.Path() / "top/a.jpg");
  fs::create_directory_symlink("..", dir.Path() / "top/loop");
  fs::create_symlink("a.jpg", dir.Path() / "top/link.jpg");
  fs::create_symlink("nowhere.jpg", dir.Path() / "top/dangling.jpg");
  fs::create_directory_symlink("top", dir.Path() / "root-link");
  EXPECT_EQ(Walked(dir.Path()), std::vector<std::string>{"top/a.jpg"});
  EXPECT_EQ(Walked(dir.Path() / "root-link"), std::vector<std::string>{"a.jpg"});
}
#endif

TEST(FolderWalkTest, JpegNamesInAnyCase) {
  for (const char* name : {"a.jpg", "a.JPG", "a.Jpeg", "a.jpe", "a.jfif", ".jpg", "a.b.JFIF"}) {
    EXPECT_TRUE(HasJpegName(name)) << name;
  }
  for (const char* name : {"a.jpgx", "a.png", "jpg", "a.jp", "a.jpg.txt", ""}) {
    EXPECT_FALSE(HasJpegName(name)) << name;
  }
}

}  // namespace
}  // namespace vellumark
