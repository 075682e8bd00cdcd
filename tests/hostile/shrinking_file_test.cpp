// A file that loses bytes after it was opened, as when another program truncates
// it between the size check and a read. Every outcome must be either the whole,
// correct result or error 62 with only correct lines before it: never bytes made
// up for the missing part.

#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "analysis/file_analysis.h"
#include "platform/local_file_system.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/report.h"
#include "tests/support/shrunk_source.h"
#include "tests/hostile/thumbnail_file.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;
using testing::FakeFileSystem;
using testing::GoldenFile;
using testing::JpegBuilder;
using testing::Lines;
using testing::RealFileWithThumbnail;
using testing::ShrunkByteSource;
using testing::TempDir;

const AcOption kAcOn = [] { return true; };

// Serves the file cut to its first `kept` bytes while it still claims its size.
FakeFileSystem ShrunkTo(const Bytes& whole, std::size_t kept) {
  FakeFileSystem files;
  files.sources["in.jpg"] = [&whole, kept] {
    return std::make_unique<ShrunkByteSource>(Bytes(whole.begin(), whole.begin() + kept),
                                              static_cast<std::int64_t>(whole.size()));
  };
  return files;
}

TEST(ShrinkingFileTest, EveryCutGivesTheWholeReportOrError62AfterCorrectLines) {
  const Bytes whole = RealFileWithThumbnail();
  const std::string full = AnalyseBytes(whole, true).report;
  for (std::size_t kept = 0; kept <= whole.size(); ++kept) {
    SCOPED_TRACE("cut to " + std::to_string(kept) + " bytes");
    FakeFileSystem files = ShrunkTo(whole, kept);
    StringReportSink sink;
    const auto fault = AnalyseToReport(files, "in.jpg", sink, kAcOn);
    if (!fault) {
      ASSERT_EQ(sink.Text(), full);
      continue;
    }
    ASSERT_EQ(fault->error.Number(), 62);
    ASSERT_TRUE(fault->readPosition);
    ASSERT_TRUE(full.starts_with(sink.Text()));
    ASSERT_LT(sink.Text().size(), full.size());
  }
}

TEST(ShrinkingFileTest, EveryCutGivesTheWholeAnswerOrError62) {
  const Bytes whole = RealFileWithThumbnail();
  FakeFileSystem uncut = ShrunkTo(whole, whole.size());
  const ThumbnailAnswer full = SearchFileForThumbnail(uncut, "in.jpg").answer;
  ASSERT_TRUE(full.found && full.picture);
  for (std::size_t kept = 0; kept <= whole.size(); ++kept) {
    SCOPED_TRACE("cut to " + std::to_string(kept) + " bytes");
    FakeFileSystem files = ShrunkTo(whole, kept);
    const ThumbnailOutcome outcome = SearchFileForThumbnail(files, "in.jpg");
    if (!outcome.fault) {
      ASSERT_TRUE(outcome.answer.found);
      ASSERT_EQ(outcome.answer.picture->rgb, full.picture->rgb);
      continue;
    }
    ASSERT_EQ(outcome.fault->error.Number(), 62);
    // What was found before the fault is the true thumbnail or nothing.
    if (outcome.answer.picture) {
      ASSERT_EQ(outcome.answer.picture->rgb, full.picture->rgb);
    }
  }
}

// Opens the real file, then cuts it on disk before anything is read from it.
class TruncateAfterOpen : public LocalFileSystem {
public:
  explicit TruncateAfterOpen(off_t keep) : keep_(keep) {}
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    auto source = LocalFileSystem::OpenRead(path);
    if (::truncate(path.c_str(), keep_) != 0) {
      throw std::runtime_error("cannot truncate the test file");
    }
    return source;
  }

private:
  off_t keep_;
};

TEST(ShrinkingFileTest, RealFileCutAfterOpenEndsWithError62) {
  TempDir dir;
  const Bytes whole = GoldenFile("baseline.jpg");
  testing::WriteWholeFile(dir / "a.jpg", std::string(whole.begin(), whole.end()));
  // cjpeg's first DQT segment runs from offset 20 to 88; the second starts at 89
  // and is cut at 100.
  TruncateAfterOpen files(100);
  StringReportSink sink;
  const auto fault = AnalyseToReport(files, dir / "a.jpg", sink, kAcOn);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), 62);
  // The failed read is the second DQT segment's, from its first length byte.
  EXPECT_EQ(fault->readPosition, 92);
  const std::string full = AnalyseBytes(whole, true).report;
  const std::string cut = full.substr(0, full.find("长度:67(43h)", full.find("位置:90(59h)")));
  EXPECT_EQ(sink.Text(), cut + Lines({"长度:67(43h)"}));
}

// Cuts the file on disk the moment the walk writes its first COM marker line:
// the length field is already buffered, the segment is not.
class TruncateOnLine : public ReportSink {
public:
  TruncateOnLine(std::string path, std::string_view line) : path_(std::move(path)), line_(line) {}
  void Append(std::string_view text) override {
    if (text == line_ && ::truncate(path_.c_str(), 3) != 0) {
      throw std::runtime_error("cannot truncate the test file");
    }
    sink.Append(text);
  }
  StringReportSink sink;

private:
  std::string path_;
  std::string line_;
};

TEST(ShrinkingFileTest, RealFileCutDuringTheWalkEndsWithError62) {
  TempDir dir;
  const Bytes file = JpegBuilder()
                         .Marker(marker::kSoi)                                 // FF D8 SOI
                         .Segment(marker::kCom, Bytes(65533, 'x'))            // FF FE FF FF: COM length 65535
                         .Segment(marker::kCom, Bytes(65533, 'y'))            // and another
                         .Marker(marker::kEoi)                                 // FF D9 EOI
                         .Build();
  testing::WriteWholeFile(dir / "big.jpg", std::string(file.begin(), file.end()));
  LocalFileSystem files;
  TruncateOnLine sink(dir / "big.jpg", Lines({"标记:COM"}));
  const auto fault = AnalyseToReport(files, dir / "big.jpg", sink, kAcOn);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), 62);
  EXPECT_EQ(fault->readPosition, 5);
  EXPECT_EQ(sink.sink.Text(),
            Lines({"位置:1(0h)", "标记:SOI", "", "位置:3(2h)", "标记:COM", "长度:65535(FFFFh)"}));
}

}  // namespace
}  // namespace vellumark
