#include "cli/name_count.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "tests/support/files.h"

namespace vellumark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteWholeFile;

// Three JPEG names below the folder, one other file.
void MakePhotos(const TempDir& dir) {
  fs::create_directories(dir.Path() / "photos" / "b" / "d");
  for (const char* name : {"photos/a.jpg", "photos/b/c.JPEG", "photos/b/d/e.jfif", "photos/notes.txt"}) {
    WriteWholeFile(dir / name, "x");
  }
}

// Only names found as the batch goes leave the total unknown until the end.
TEST(NameCountTest, NamesComeAsFoundFromFoldersWalkedAndLists) {
  CliOptions options;
  options.files = {"a.jpg", "photos"};
  EXPECT_FALSE(NamesComeAsFound(options));
  options.recursive = true;
  EXPECT_TRUE(NamesComeAsFound(options));
  options.recursive = false;
  options.filesFrom = "list";
  EXPECT_TRUE(NamesComeAsFound(options));
}

// -r over the folder of MakePhotos.
CliOptions PhotosWalked(const TempDir& dir) {
  MakePhotos(dir);
  CliOptions options;
  options.recursive = true;
  options.files = {dir / "photos"};
  return options;
}

std::optional<std::uint64_t> Count(const CliOptions& options) {
  const std::atomic<bool> stop{false};
  return CountNames(options, stop);
}

// Every task the batch will have: each JPEG file below a folder, a name that
// does not exist, and "-", which is counted without reading standard input.
TEST(NameCountTest, CountsTheTasksOfFoldersAndNames) {
  TempDir dir;
  CliOptions options = PhotosWalked(dir);
  options.files.insert(options.files.end(), {dir / "missing.jpg", "-"});
  EXPECT_EQ(Count(options), 5U);
}

// The list read once more: its names, and a folder in it walked.
TEST(NameCountTest, CountsTheNamesOfAListThatIsAFile) {
  TempDir dir;
  CliOptions options = PhotosWalked(dir);
  WriteWholeFile(dir / "list", dir / "photos" + "\n\n" + dir / "one.jpg" + "\r\n-\n");
  options.filesFrom = dir / "list";
  EXPECT_EQ(Count(options), 3U + 3U + 2U);
#ifndef _WIN32
  fs::create_symlink(dir / "list", dir / "link");
  options.filesFrom = dir / "link";
  EXPECT_EQ(Count(options), 3U + 3U + 2U);
#endif
}

// Standard input and pipes can be read only once, and they are the batch's.
TEST(NameCountTest, ListsReadOnlyOnceAreNotCounted) {
  CliOptions options;
  options.filesFrom = "-";
  EXPECT_EQ(Count(options), std::nullopt);
#ifndef _WIN32
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  options.filesFrom = dir / "fifo";
  EXPECT_EQ(Count(options), std::nullopt);
#endif
}

// The count from its thread reaches the figures the progress line draws. The
// wait is for the count; its bound only ends a count that never comes.
TEST(NameCountTest, CountAheadReachesTheLine) {
  TempDir dir;
  const CliOptions options = PhotosWalked(dir);
  BatchCounts counts;
  NameCountAhead ahead(options, counts);
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!counts.allCounted && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::yield();
  }
  EXPECT_TRUE(counts.allCounted);
  EXPECT_EQ(counts.counted.load(), 3U);
}

TEST(NameCountTest, StoppedGivesNoCount) {
  TempDir dir;
  const std::atomic<bool> stop{true};
  EXPECT_EQ(CountNames(PhotosWalked(dir), stop), std::nullopt);
}

}  // namespace
}  // namespace vellumark
