#include "platform/local_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/runtime_error.h"
#include "platform/win32/win32_error.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::ReadWholeFile;
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

std::set<std::filesystem::path> NamesIn(const std::filesystem::path& folder) {
  std::set<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename());
  }
  return names;
}

// The program passes names in UTF-8; std::filesystem makes the file by its
// UTF-16 name, independently of the code under test.
std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return {name.begin(), name.end()};
}

TEST(Win32LocalFileSystemTest, OpensAFileWithAChineseName) {
  TempDir dir;
  const std::filesystem::path path = dir.Path() / u8"图片-照片.jpg";
  std::ofstream(path, std::ios::binary) << "\xFF\xD8xyz";
  LocalFileSystem files;
  const auto source = files.OpenRead(Utf8Name(path));
  EXPECT_EQ(source->Size(), 5);
  std::array<std::uint8_t, 8> buffer{};
  EXPECT_EQ(source->ReadAt(1, buffer), 4U);
  EXPECT_EQ(buffer[0], 0xD8);
  EXPECT_EQ(buffer[3], 'z');
}

struct OpenCase {
  const char* name;
  std::function<std::string(const TempDir&)> prepare;
  std::int32_t number;
};

class Win32OpenFailureTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(Win32OpenFailureTest, RaisesTheListedError) {
  TempDir dir;
  const std::string path = GetParam().prepare(dir);
  LocalFileSystem files;
  EXPECT_EQ(ErrorNumberOf([&] { files.OpenRead(path); }), GetParam().number);
}

const OpenCase kOpenCases[] = {
    {"MissingFile", [](const TempDir& d) { return d / "missing.jpg"; }, 53},
    {"MissingFolder", [](const TempDir& d) { return d / "no-such-folder\\a.jpg"; }, 76},
    {"EmptyName", [](const TempDir&) { return std::string(); }, 52},
    {"NameWithNul", [](const TempDir& d) { return d / std::string("a\0b", 3); }, 52},
    {"WildcardInName", [](const TempDir& d) { return d / "a?b.jpg"; }, 52},
    {"Folder", [](const TempDir& d) { return d.Path().string(); }, 75},
    // A device, not a file on a disk: refused before a read could block.
    {"Device", [](const TempDir&) { return std::string("NUL"); }, 75},
};

INSTANTIATE_TEST_SUITE_P(Paths, Win32OpenFailureTest, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The test environment's code page: a Chinese Windows.
TEST(Win32LocalFileSystemTest, RunsInCodePage936) { EXPECT_EQ(GetACP(), 936U); }

TEST(Win32LocalFileSystemTest, WritesGbkWithCrLf) {
  TempDir dir;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "位置:1(0h)\r\n标记:SOI\r\n");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"),
            "\xCE\xBB\xD6\xC3:1(0h)\r\n"  // 位置
            "\xB1\xEA\xBC\xC7:SOI\r\n");  // 标记
}

// U+1F600 has no GBK bytes: GB18030's four-byte form keeps it, while the
// characters around it keep GBK's own bytes.
TEST(Win32LocalFileSystemTest, CharacterOutsideGbkGetsFourBytes) {
  if (IsValidCodePage(54936) == FALSE) {
    GTEST_SKIP() << "this system has no GB18030 code page (Wine 8 has none)";
  }
  TempDir dir;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "a\U0001F600b标");
  EXPECT_EQ(ReadWholeFile(dir / "r.txt"), "a\x94\x39\xFC\x36" "b\xB1\xEA");
}

// Without GB18030 the character is not dropped: GBK's stand-in takes its place.
TEST(Win32LocalFileSystemTest, CharacterOutsideGbkIsNeverDropped) {
  TempDir dir;
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "a\U0001F600b");
  const std::string bytes = ReadWholeFile(dir / "r.txt");
  EXPECT_GT(bytes.size(), 2U);
  EXPECT_EQ(bytes.front(), 'a');
  EXPECT_EQ(bytes.back(), 'b');
}

TEST(Win32LocalFileSystemTest, SavesUnderAChineseName) {
  TempDir dir;
  LocalFileSystem files;
  const std::filesystem::path path = dir.Path() / u8"报告.txt";
  files.WriteText(Utf8Name(path), "x\r\n");
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(Win32LocalFileSystemTest, ReplacingAFileKeepsOnlyTheNewText) {
  TempDir dir;
  const std::string path = dir / "r.txt";
  WriteWholeFile(path, std::string(1000, 'o'));
  LocalFileSystem files;
  files.WriteText(path, "new\r\n");
  EXPECT_EQ(ReadWholeFile(path), "new\r\n");
  EXPECT_EQ(NamesIn(dir.Path()), std::set<std::filesystem::path>{"r.txt"});
}

// A new file would leave the second link with the old text: the file is written
// where it is, and both names show the new text.
TEST(Win32LocalFileSystemTest, FileWithTwoLinksIsWrittenInPlace) {
  TempDir dir;
  WriteWholeFile(dir / "r.txt", std::string(1000, 'o'));
  ASSERT_NE(CreateHardLinkW((dir.Path() / "link.txt").c_str(), (dir.Path() / "r.txt").c_str(), nullptr), FALSE);
  LocalFileSystem files;
  files.WriteText(dir / "r.txt", "new");
  EXPECT_EQ(ReadWholeFile(dir / "link.txt"), "new");
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::filesystem::path>{"link.txt", "r.txt"}));
}

struct WriteFailureCase {
  const char* name;
  std::function<std::string(const TempDir&)> prepare;
  std::int32_t number;
};

class Win32WriteFailureTest : public ::testing::TestWithParam<WriteFailureCase> {};

// A refused save changes nothing and leaves no temporary file behind.
TEST_P(Win32WriteFailureTest, RefusesAndLeavesTheFolderAlone) {
  TempDir dir;
  WriteWholeFile(dir / "old.txt", "old contents");
  const std::string path = GetParam().prepare(dir);
  const auto before = NamesIn(dir.Path());
  LocalFileSystem files;
  EXPECT_EQ(ErrorNumberOf([&] { files.WriteText(path, "new contents"); }), GetParam().number);
  EXPECT_EQ(ReadWholeFile(dir / "old.txt"), "old contents");
  EXPECT_EQ(NamesIn(dir.Path()), before);
  SetFileAttributesW((dir.Path() / "old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

const WriteFailureCase kWriteFailureCases[] = {
    {"ExistingFolder",
     [](const TempDir& d) {
       std::filesystem::create_directory(d.Path() / "folder");
       return d / "folder";
     },
     75},
    {"MissingFolder", [](const TempDir& d) { return d / "no-such-folder\\r.txt"; }, 76},
    {"EmptyName", [](const TempDir&) { return std::string(); }, 52},
    {"ReadOnlyFile",
     [](const TempDir& d) {
       SetFileAttributesW((d.Path() / "old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
       return d / "old.txt";
     },
     70},
};

INSTANTIATE_TEST_SUITE_P(Targets, Win32WriteFailureTest, ::testing::ValuesIn(kWriteFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Win32ErrorTest, ListedCodesGetTheirNumbers) {
  EXPECT_EQ(Win32Error(ERROR_FILE_NOT_FOUND).Number(), 53);
  EXPECT_EQ(Win32Error(ERROR_PATH_NOT_FOUND).Number(), 76);
  EXPECT_EQ(Win32Error(ERROR_ACCESS_DENIED).Number(), 70);
  EXPECT_EQ(Win32Error(ERROR_INVALID_NAME).Number(), 52);
  EXPECT_EQ(Win32Error(ERROR_DISK_FULL).Number(), 61);
  EXPECT_EQ(Win32Error(ERROR_FILE_NOT_FOUND).Description(), MakeError(53).Description());
}

// A code outside the table keeps the system's own text, without its line break.
TEST(Win32ErrorTest, UnlistedCodeKeepsTheSystemText) {
  const RuntimeError error = Win32Error(ERROR_NOT_READY);
  EXPECT_EQ(error.Number(), 1000 + ERROR_NOT_READY);
  EXPECT_FALSE(error.Description().empty());
  EXPECT_NE(error.Description().back(), '\n');
  EXPECT_NE(error.Description(), MakeError(1000 + ERROR_NOT_READY).Description());
}

}  // namespace
}  // namespace vellumark
