#include "platform/local_file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/runtime_error.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::ReadWholeFile;
using testing::RunningAsRoot;
using testing::TempDir;
using testing::WriteWholeFile;

std::int32_t ErrorNumberOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

std::set<std::string> NamesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(LocalFileSystemTest, OpensARegularFile) {
  TempDir dir;
  WriteWholeFile(dir / "a.jpg", "\xFF\xD8xyz");
  LocalFileSystem files;
  const auto source = files.OpenRead(dir / "a.jpg");
  EXPECT_EQ(source->Size(), 5);
  std::array<std::uint8_t, 8> buffer{};
  EXPECT_EQ(source->ReadAt(1, buffer), 4U);
  EXPECT_EQ(buffer[0], 0xD8);
  EXPECT_EQ(buffer[3], 'z');
}

struct OpenCase {
  const char* name;
  // Prepares the situation in the folder and returns the path to open.
  std::function<std::string(const TempDir&)> prepare;
  std::int32_t number;
};

class OpenReadFailureTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenReadFailureTest, RaisesTheListedError) {
  TempDir dir;
  const std::string path = GetParam().prepare(dir);
  LocalFileSystem files;
  EXPECT_EQ(ErrorNumberOf([&] { files.OpenRead(path); }), GetParam().number);
}

const OpenCase kOpenCases[] = {
    {"MissingFile", [](const TempDir& d) { return d / "missing.jpg"; }, 53},
    {"MissingFolder", [](const TempDir& d) { return d / "no-such-folder/a.jpg"; }, 76},
    {"PathThroughAFile",
     [](const TempDir& d) {
       WriteWholeFile(d / "plain", "x");
       return d / "plain/a.jpg";
     },
     76},
    {"EmptyName", [](const TempDir&) { return std::string(); }, 52},
    {"NameWithNul", [](const TempDir& d) { return d / std::string("a\0b", 3); }, 52},
    {"Folder", [](const TempDir& d) { return d.Path().string(); }, 75},
    // Opening a FIFO without a writer would block; it must be refused at once.
    {"Fifo",
     [](const TempDir& d) {
       ::mkfifo((d / "fifo").c_str(), 0600);
       return d / "fifo";
     },
     75},
    {"DanglingLink",
     [](const TempDir& d) {
       std::filesystem::create_symlink(d / "gone.jpg", d / "link.jpg");
       return d / "link.jpg";
     },
     53},
};

INSTANTIATE_TEST_SUITE_P(Paths, OpenReadFailureTest, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LocalFileSystemTest, UnreadableFileIsAccessDenied) {
  if (RunningAsRoot()) {
    GTEST_SKIP() << "root reads files whatever their mode";
  }
  TempDir dir;
  WriteWholeFile(dir / "secret.jpg", "x");
  ::chmod((dir / "secret.jpg").c_str(), 0);
  LocalFileSystem files;
  EXPECT_EQ(ErrorNumberOf([&] { files.OpenRead(dir / "secret.jpg"); }), 70);
}

// Report lines as the window holds them: the file gets GBK, CR LF kept, no BOM.
TEST(LocalFileSystemTest, WritesGbkWithCrLf) {
  TempDir dir;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "位置:1(0h)\r\n标记:SOI\r\n非JPEG标记，或图像压缩数据！\r\n");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"),
            "\xCE\xBB\xD6\xC3:1(0h)\r\n"             // 位置
            "\xB1\xEA\xBC\xC7:SOI\r\n"               // 标记
            "\xB7\xC7JPEG\xB1\xEA\xBC\xC7\xA3\xAC"   // 非 JPEG 标记 ，
            "\xBB\xF2\xCD\xBC\xCF\xF1\xD1\xB9\xCB\xF5\xCA\xFD\xBE\xDD\xA3\xA1\r\n");  // 或图像压缩数据 ！
}

// U+1F600 is not in GBK; GB18030 writes it in four bytes rather than lose it.
TEST(LocalFileSystemTest, CharacterOutsideGbkGetsFourBytes) {
  TempDir dir;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "a\U0001F600b");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"), "a\x94\x39\xFC\x36" "b");
}

TEST(LocalFileSystemTest, ReplacingAFileKeepsOnlyTheNewTextAndItsMode) {
  TempDir dir;
  const std::string path = dir / "r.txt";
  WriteWholeFile(path, std::string(1000, 'o'));
  ::chmod(path.c_str(), 0640);
  LocalFileSystem files;
  files.WriteText(path, "new\r\n");
  EXPECT_EQ(ReadWholeFile(path), "new\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640U);
  EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"r.txt"});
}

TEST(LocalFileSystemTest, SavingThroughALinkReplacesItsTarget) {
  TempDir dir;
  WriteWholeFile(dir / "real.txt", "old");
  std::filesystem::create_symlink(dir / "real.txt", dir / "link.txt");
  LocalFileSystem files;
  files.WriteText(dir / "link.txt", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
  EXPECT_EQ(ReadWholeFile(dir / "real.txt"), "new");
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st;
}

// A new file would leave the second link with the old text: the file is written
// where it is, and both names show the new text.
TEST(LocalFileSystemTest, FileWithTwoLinksIsWrittenInPlace) {
  TempDir dir;
  WriteWholeFile(dir / "r.txt", std::string(1000, 'o'));
  std::filesystem::create_hard_link(dir / "r.txt", dir / "link.txt");
  const ino_t before = StatOf(dir / "r.txt").st_ino;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "new");
  EXPECT_EQ(ReadWholeFile(dir / "link.txt"), "new");
  EXPECT_EQ(StatOf(dir / "r.txt").st_ino, before);
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"link.txt", "r.txt"}));
}

TEST(LocalFileSystemTest, RootSavingAnotherUsersFileKeepsItsOwnerAndGroup) {
  if (!RunningAsRoot()) {
    GTEST_SKIP() << "only root may give a file to another user";
  }
  TempDir dir;
  WriteWholeFile(dir / "r.txt", "old");
  ASSERT_EQ(::chown((dir / "r.txt").c_str(), 4242, 4343), 0);
  ::chmod((dir / "r.txt").c_str(), 0664);
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "new");
  const struct stat after = StatOf(dir / "r.txt");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"), "new");
  EXPECT_EQ(after.st_uid, 4242U);
  EXPECT_EQ(after.st_gid, 4343U);
  EXPECT_EQ(after.st_mode & 07777, 0664U);
}

// Only a file nobody may write is refused outright: root replaces one that only
// its group or others may write, as it could overwrite it in place.
TEST(LocalFileSystemTest, RootReplacesAFileOnlyOthersMayWrite) {
  if (!RunningAsRoot()) {
    GTEST_SKIP() << "its owner may not write it";
  }
  TempDir dir;
  WriteWholeFile(dir / "r.txt", "old");
  ::chmod((dir / "r.txt").c_str(), 0446);
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "new");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"), "new");
}

struct WriteFailureCase {
  const char* name;
  // Prepares the folder and returns the path to write.
  std::function<std::string(const TempDir&)> prepare;
  std::int32_t number;
  bool needsNonRoot;
};

class WriteFailureTest : public ::testing::TestWithParam<WriteFailureCase> {};

// A refused save changes nothing: old contents and folder listing stay as
// they were, and no temporary file is left behind.
TEST_P(WriteFailureTest, RefusesAndLeavesTheFolderAlone) {
  if (GetParam().needsNonRoot && RunningAsRoot()) {
    GTEST_SKIP() << "root writes files and folders whatever their mode";
  }
  TempDir dir;
  WriteWholeFile(dir / "old.txt", "old contents");
  const std::string path = GetParam().prepare(dir);
  const auto before = NamesIn(dir.Path());
  LocalFileSystem files;
  EXPECT_EQ(ErrorNumberOf([&] { files.WriteText(path, "new contents"); }), GetParam().number);
  EXPECT_EQ(ReadWholeFile(dir / "old.txt"), "old contents");
  EXPECT_EQ(NamesIn(dir.Path()), before);
}

const WriteFailureCase kWriteFailureCases[] = {
    {"ExistingFolder",
     [](const TempDir& d) {
       std::filesystem::create_directory(d / "folder");
       return d / "folder";
     },
     75, false},
    {"MissingFolder", [](const TempDir& d) { return d / "no-such-folder/r.txt"; }, 76, false},
    {"EmptyName", [](const TempDir&) { return std::string(); }, 52, false},
    // Nobody may write it, so root is refused too.
    {"ReadOnlyFile",
     [](const TempDir& d) {
       ::chmod((d / "old.txt").c_str(), 0444);
       return d / "old.txt";
     },
     70, false},
    {"FileOnlyOthersMayWrite",
     [](const TempDir& d) {
       ::chmod((d / "old.txt").c_str(), 0446);
       return d / "old.txt";
     },
     70, true},
    {"ReadOnlyFolder",
     [](const TempDir& d) {
       ::chmod(d.Path().c_str(), 0555);
       return d / "new.txt";
     },
     70, true},
};

INSTANTIATE_TEST_SUITE_P(Targets, WriteFailureTest, ::testing::ValuesIn(kWriteFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
