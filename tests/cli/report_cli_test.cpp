// vellumark-report run as a process: exit status, standard output and standard
// error exactly as a script sees them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "analysis/marker_catalogue.h"
#include "tests/support/files.h"
#include "tests/support/jpeg_builder.h"
#include "tests/support/report_process.h"

namespace vellumark {
namespace {

using testing::ProcessResult;
using testing::ReadWholeFile;
using testing::RunReport;
using testing::TempDir;
using testing::WriteWholeFile;

const std::string kGoldenDir = std::string(VELLUMARK_GOLDEN_DIR) + "/";
const std::string kGood = kGoldenDir + "optimize.jpg";
const std::string kTooShortLine = "这不是JPEG图片文件！\r\n";

TEST(ReportCliTest, GoodFile) {
  const ProcessResult run = RunReport({kGood});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ReadWholeFile(kGoldenDir + "optimize.expected"));
  EXPECT_EQ(run.err, "");
}

TEST(ReportCliTest, AcOptionListsAcCodes) {
  const ProcessResult run = RunReport({"--ac", kGood});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ReadWholeFile(kGoldenDir + "optimize-ac.expected"));
}

// Damaged or foreign data is reported, not an error.
TEST(ReportCliTest, NonJpegIsReportedWithStatusZero) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const ProcessResult run = RunReport({dir / "note.txt"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kTooShortLine);
  EXPECT_EQ(run.err, "");
}

TEST(ReportCliTest, MissingFileIsAnError) {
  TempDir dir;
  const ProcessResult run = RunReport({dir / "missing.jpg"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "vellumark-report: " + (dir / "missing.jpg") + ": 文件未找到 (error 53)\n");
}

// Like head(1): a header before each report and an empty line after it; a
// failed file does not stop the others.
TEST(ReportCliTest, BatchGoesOnAfterAFailure) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const std::string missing = dir / "missing.jpg";
  const ProcessResult run = RunReport({kGood, missing, dir / "note.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "==> " + kGood + " <==\r\n" + ReadWholeFile(kGoldenDir + "optimize.expected") +
                         "\r\n==> " + missing + " <==\r\n\r\n==> " + (dir / "note.txt") + " <==\r\n" +
                         kTooShortLine + "\r\n");
  EXPECT_EQ(run.err, "vellumark-report: " + missing + ": 文件未找到 (error 53)\n");
  // On one stream the error line comes in its file's place.
  const ProcessResult merged = testing::RunCommand(testing::ReportCommand({kGood, missing}) + " 2>&1");
  EXPECT_EQ(merged.out, "==> " + kGood + " <==\r\n" + ReadWholeFile(kGoldenDir + "optimize.expected") + "\r\n==> " +
                            missing + " <==\r\n\r\n" + run.err);
}

TEST(ReportCliTest, GbkEncoding) {
  TempDir dir;
  WriteWholeFile(dir / "note.txt", "hello");
  const ProcessResult run = RunReport({"--encoding=gbk", dir / "note.txt"});
  EXPECT_EQ(run.status, 0);
  // 这不是 JPEG 图片文件 ！ in GBK
  EXPECT_EQ(run.out, "\xD5\xE2\xB2\xBB\xCA\xC7JPEG\xCD\xBC\xC6\xAC\xCE\xC4\xBC\xFE\xA3\xA1\r\n");
}

TEST(ReportCliTest, TableIsTheMarkerCodeTable) {
  const ProcessResult run = RunReport({"--table"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, MarkerCodeTable());
}

// A lone "-" is standard input, as for Unix filters; "./-" is a file called
// "-"; an empty standard input is an empty file.
TEST(ReportCliTest, LoneDashIsStandardInput) {
  const ProcessResult run = RunReport({"-"}, ReadWholeFile(kGood));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, ReadWholeFile(kGoldenDir + "optimize.expected"));
  EXPECT_EQ(run.err, "");
  TempDir dir;
  WriteWholeFile(dir / "-", "hello");
  const ProcessResult file = testing::RunCommand("cd " + testing::Quoted(dir.Path().string()) + " && " +
                                                     testing::ReportCommand({"./-"}),
                                                 ReadWholeFile(kGood));
  EXPECT_EQ(file.out, kTooShortLine);
  WriteWholeFile(dir / "empty", "");
  EXPECT_EQ(RunReport({"-"}).out, RunReport({dir / "empty"}).out);
}

TEST(ReportCliTest, VersionWinsOverFiles) {
  const ProcessResult run = RunReport({kGood, "--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "vellumark-report 1.0.38\n");
}

TEST(ReportCliTest, HelpPrintsUsage) {
  const ProcessResult run = RunReport({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("Usage: vellumark-report")) << run.out;
  EXPECT_NE(run.out.find("  --json "), std::string::npos) << run.out;
}

// One UTF-8 line per file, whatever the encoding; a file that cannot be read
// gets its line too, and its error line on standard error as in the report.
TEST(ReportCliTest, JsonLinePerFile) {
  TempDir dir;
  const ProcessResult run = RunReport({"--json", "--encoding=gbk", kGood, dir / "missing.jpg"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.starts_with(R"({"file":")" + kGood + R"(","size":)")) << run.out;
  EXPECT_TRUE(run.out.ends_with(R"(]}
{"file":")" + (dir / "missing.jpg") + R"(","error":{"number":53,"description":"文件未找到"}}
)")) << run.out;
  // 文件未找到 in GBK
  EXPECT_EQ(run.err, "vellumark-report: " + (dir / "missing.jpg") + ": \xCE\xC4\xBC\xFE\xCE\xB4\xD5\xD2\xB5\xBD (error 53)\n");
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
};

// SOI, a JFIF APP0 with a 2 x 1 thumbnail (red, blue), EOI.
const testing::Bytes kThumbnailPixels{0xFF, 0, 0, 0, 0, 0xFF};
testing::Bytes FileWithThumbnail() {
  return testing::JpegBuilder()
      .Marker(marker::kSoi)
      .Segment(marker::kApp0, testing::JfifPayload(2, 1, kThumbnailPixels))
      .Marker(marker::kEoi)
      .Build();
}

TEST(ThumbnailCliTest, AnswersYesOrNo) {
  TempDir dir;
  const testing::Bytes file = FileWithThumbnail();
  WriteWholeFile(dir / "t.jpg", std::string(file.begin(), file.end()));
  EXPECT_EQ(RunReport({"--thumbnail", dir / "t.jpg"}).out, "yes\n");
  EXPECT_EQ(RunReport({"--thumbnail", "-"}, std::string(file.begin(), file.end())).out, "yes\n");
  const ProcessResult no = RunReport({"--thumbnail", kGood});
  EXPECT_EQ(no.status, 0);
  EXPECT_EQ(no.out, "no\n");
}

TEST(ThumbnailCliTest, UnreadableFileIsAnError) {
  TempDir dir;
  const ProcessResult run = RunReport({"--thumbnail", dir / "gone.jpg"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "no\n");
  EXPECT_EQ(run.err, "vellumark-report: " + (dir / "gone.jpg") + ": 文件未找到 (error 53)\n");
}

// Compressed or not, the PNG decodes to the thumbnail's RGB bytes as they stand
// in the file, at 1:1. The larger picture has noise in it, so that every row
// filter and match the encoder may choose is taken somewhere.
struct PngCase {
  const char* name;
  std::uint8_t width;
  std::uint8_t height;
};

class ThumbnailPngTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(ThumbnailPngTest, DecodesToThePixelsAtOneToOne) {
  const PngCase& size = GetParam();
  testing::Bytes pixels(std::size_t{3} * size.width * size.height);
  std::minstd_rand noise(7);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<std::uint8_t>(i % 97 < 40 ? noise() : i / 3);
  }
  const testing::Bytes file = testing::JpegBuilder()
                                  .Marker(marker::kSoi)
                                  .Segment(marker::kApp0, testing::JfifPayload(size.width, size.height, pixels))
                                  .Marker(marker::kEoi)
                                  .Build();
  TempDir dir;
  WriteWholeFile(dir / "t.jpg", std::string(file.begin(), file.end()));
  const ProcessResult run = RunReport({"--thumbnail-png", dir / "t.png", dir / "t.jpg"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string png = ReadWholeFile(dir / "t.png");
  int width = 0;
  int height = 0;
  int channels = 0;
  std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
      stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()), static_cast<int>(png.size()), &width,
                            &height, &channels, 0),
      stbi_image_free);
  ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
  EXPECT_EQ(width, size.width);
  EXPECT_EQ(height, size.height);
  EXPECT_EQ(channels, 3);
  EXPECT_EQ(testing::Bytes(decoded.get(), decoded.get() + pixels.size()), pixels);
}

// 120 x 60 x 3 bytes is about the most a JFIF APP0 segment holds.
INSTANTIATE_TEST_SUITE_P(Sizes, ThumbnailPngTest,
                         ::testing::Values(PngCase{"TwoByOne", 2, 1}, PngCase{"Large", 120, 60}),
                         [](const auto& info) { return std::string(info.param.name); });

class FullOutputTest : public ::testing::TestWithParam<UsageCase> {};

// A full disk in any mode: an error, never an empty answer that passes.
TEST_P(FullOutputTest, SaysSoAndFails) {
  const ProcessResult run = testing::RunCommand(testing::ReportCommand(GetParam().args) + " >/dev/full");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "vellumark-report: cannot write to standard output\n");
}

INSTANTIATE_TEST_SUITE_P(Modes, FullOutputTest,
                         ::testing::Values(UsageCase{"Report", {kGood}}, UsageCase{"Json", {"--json", kGood}},
                                           UsageCase{"Check", {"--check", kGood}},
                                           UsageCase{"JsonCheck", {"--json", "--check", kGood}},
                                           UsageCase{"Table", {"--table"}},
                                           UsageCase{"Thumbnail", {"--thumbnail", kGood}},
                                           UsageCase{"ThumbnailPng", {"--thumbnail-png", "/dev/null", kGood}},
                                           UsageCase{"Help", {"--help"}}, UsageCase{"Version", {"--version"}}),
                         [](const auto& info) { return std::string(info.param.name); });

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithTwoAndUsage) {
  const ProcessResult run = RunReport(GetParam().args);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with("vellumark-report: ")) << run.err;
  EXPECT_NE(run.err.find("Usage: vellumark-report"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Arguments, UsageErrorTest,
                         ::testing::Values(UsageCase{"NoFiles", {}}, UsageCase{"OnlyOptions", {"--ac"}},
                                           UsageCase{"UnknownOption", {"--bogus", kGood}},
                                           UsageCase{"UnknownEncoding", {"--encoding=latin1", kGood}},
                                           UsageCase{"TableWithAFile", {"--table", kGood}},
                                           UsageCase{"ThumbnailOfTwoFiles", {"--thumbnail", kGood, kGood}},
                                           UsageCase{"PngWithoutOutput", {"--thumbnail-png"}},
                                           UsageCase{"TableAndThumbnail", {"--table", "--thumbnail"}},
                                           UsageCase{"JsonWithoutFiles", {"--json"}},
                                           UsageCase{"JsonAndTable", {"--json", "--table"}},
                                           UsageCase{"JsonAndThumbnail", {"--json", "--thumbnail", kGood}},
                                           UsageCase{"JsonAndPng", {"--thumbnail-png", "t.png", "--json", kGood}},
                                           UsageCase{"DashIsNoOption", {"-x", kGood}},
                                           UsageCase{"NullWithoutList", {"-0", kGood}},
                                           UsageCase{"NoJobs", {"-j", "0", kGood}},
                                           UsageCase{"ProgressBothWays", {"--progress", "--no-progress", kGood}},
                                           UsageCase{"ThumbnailOfAWalk", {"--thumbnail", "-r", kGood}},
                                           UsageCase{"ThumbnailOfAList", {"--thumbnail", "--files-from", "list", kGood}},
                                           UsageCase{"TableOfAList", {"--table", "--files-from", "list"}},
                                           UsageCase{"ExtractAndJson", {"--extract-images", "d", "--json", kGood}},
                                           UsageCase{"ExtractAndCheck", {"--extract-images", "d", "--check", kGood}},
                                           UsageCase{"ExtractAndAc", {"--extract-images", "d", "--ac", kGood}},
                                           UsageCase{"ExtractIntoNoName", {"--extract-images", "", kGood}},
                                           UsageCase{"ExtractWithoutFiles", {"--extract-images", "d"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
