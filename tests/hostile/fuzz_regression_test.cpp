// Replays the fuzzers' seeds and every input that once broke a fuzz target
// (fuzz/regressions), through the same checks as the targets, so a fixed fault
// that comes back fails here too, without a fuzz run.
//
// File names say which target an input is for: walk-* inputs start with the AC
// option byte, thumbnail-*, json-* and check-* inputs are the file itself; a
// seed is a plain file and goes through the walk, the search and the check
// (the --json tests take the seeds too).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/thumbnail_search.h"
#include "cli/json_report.h"
#include "platform/binary_file.h"
#include "platform/memory_byte_source.h"
#include "tests/support/files.h"
#include "tests/support/json_structure.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;

const std::filesystem::path kFuzzDir = std::filesystem::path(VELLUMARK_FUZZ_REGRESSIONS_DIR).parent_path();

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code missing;  // git keeps no empty folder
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
    files.push_back(entry.path());
  }
  return files;
}

Bytes Contents(const std::filesystem::path& path) {
  const std::string bytes = testing::ReadWholeFile(path.string());
  return Bytes(bytes.begin(), bytes.end());
}

void ExpectCleanWalk(const Bytes& file, bool showAcCodes) {
  const auto [report, fault] = AnalyseBytes(file, showAcCodes);
  EXPECT_FALSE(fault) << fault->error.Description();
  EXPECT_TRUE(report.ends_with("\r\n"));
}

void ExpectCleanSearch(const Bytes& file) {
  BinaryFile binary(std::make_unique<MemoryByteSource>(file));
  ThumbnailAnswer answer;
  EXPECT_NO_THROW(FindJfifThumbnail(binary, answer));
  if (answer.picture) {
    EXPECT_TRUE(answer.found);
    EXPECT_EQ(answer.picture->rgb.size(),
              static_cast<std::size_t>(answer.picture->width * answer.picture->height * 3));
  }
}

void ExpectCleanJson(const Bytes& file, bool check) {
  testing::FakeFileSystem files;
  files.files["in.jpg"] = file;
  StringReportSink out;
  EXPECT_FALSE(WriteStructureJson(files, "in.jpg", out, nullptr, check).fault);
  EXPECT_EQ(testing::JsonLineFault(out.Text()), "");
}

TEST(FuzzRegressionTest, EveryKeptInputEndsCleanly) {
  for (const auto& path : FilesIn(VELLUMARK_FUZZ_REGRESSIONS_DIR)) {
    SCOPED_TRACE(path.filename().string());
    const Bytes input = Contents(path);
    const std::string name = path.filename().string();
    if (name.starts_with("walk-")) {
      ASSERT_FALSE(input.empty());
      ExpectCleanWalk(Bytes(input.begin() + 1, input.end()), (input[0] & 1) != 0);
    } else if (name.starts_with("json-") || name.starts_with("check-")) {
      ExpectCleanJson(input, name.starts_with("check-"));
    } else {
      ASSERT_TRUE(name.starts_with("thumbnail-")) << "name does not say its target";
      ExpectCleanSearch(input);
    }
  }
}

TEST(FuzzRegressionTest, EverySeedEndsCleanly) {
  const auto seeds = FilesIn(kFuzzDir / "seeds");
  ASSERT_FALSE(seeds.empty());
  for (const auto& path : seeds) {
    SCOPED_TRACE(path.filename().string());
    const Bytes file = Contents(path);
    ExpectCleanWalk(file, true);
    ExpectCleanSearch(file);
    ExpectCleanJson(file, true);
  }
}

}  // namespace
}  // namespace vellumark
