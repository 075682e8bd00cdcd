#include "analysis/file_analysis.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/report.h"
#include "tests/support/shrunk_source.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::FakeFileSystem;
using testing::JpegBuilder;
using testing::Lines;
using testing::ShrunkByteSource;

const AcOption kAcOff = [] { return false; };

struct OpenFailureCase {
  const char* name;
  std::string path;
  std::int32_t number;
};

class OpenFailureTest : public ::testing::TestWithParam<OpenFailureCase> {};

// A file that never opened leaves the report empty and has no read position.
TEST_P(OpenFailureTest, GivesTheErrorWithoutPosition) {
  FakeFileSystem files;
  StringReportSink sink;
  const auto fault = AnalyseToReport(files, GetParam().path, sink, kAcOff);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), GetParam().number);
  EXPECT_FALSE(fault->readPosition);
  EXPECT_EQ(sink.Text(), "");
}

INSTANTIATE_TEST_SUITE_P(Paths, OpenFailureTest,
                         ::testing::Values(OpenFailureCase{"Missing", "missing.jpg", 53},
                                           OpenFailureCase{"EmptyName", "", 52}),
                         [](const auto& info) { return std::string(info.param.name); });

// Serves one prepared source, whatever the path.
class OneSourceFileSystem : public FakeFileSystem {
public:
  explicit OneSourceFileSystem(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}
  std::unique_ptr<ByteSource> OpenRead(const std::string&) override { return std::move(source_); }

private:
  std::unique_ptr<ByteSource> source_;
};

// The file claims 100 bytes but has only 30 when the COM segment is read.
TEST(FileAnalysisTest, FileThatShrankStopsWithPositionAndKeepsLines) {
  const Bytes left = JpegBuilder()
                         .Marker(marker::kSoi)                    // FF D8 SOI
                         .MarkerWithLength(marker::kCom, 48)      // FF FE 00 30: COM length 48
                         .Repeat(24, 'x')                 // 24 of its 46 payload bytes
                         .Build();
  OneSourceFileSystem files(std::make_unique<ShrunkByteSource>(left, 100));
  StringReportSink sink;
  const auto fault = AnalyseToReport(files, "in.jpg", sink, kAcOff);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->error.Number(), 62);
  EXPECT_EQ(fault->error.Description(), "输入超出文件尾");
  // The failed read was the segment's, from its first length byte at position 5.
  EXPECT_EQ(fault->readPosition, 5);
  EXPECT_EQ(sink.Text(), Lines({"位置:1(0h)", "标记:SOI", "", "位置:3(2h)", "标记:COM", "长度:48(30h)"}));
}

struct FactsCase {
  const char* name;
  Bytes bytes;
  bool jpeg;
};

class FileFactsTest : public ::testing::TestWithParam<FactsCase> {};

// A batch counts as JPEG only the files whose first two bytes are FF D8, and
// the size of every file that opened, JPEG or not.
TEST_P(FileFactsTest, JpegOnlyWhereTheFileBeginsWithSoi) {
  FakeFileSystem files;
  files.files["in"] = GetParam().bytes;
  StringReportSink sink;
  FileFacts facts;
  EXPECT_FALSE(AnalyseToReport(files, "in", sink, kAcOff, &facts));
  EXPECT_EQ(facts.size, static_cast<std::int64_t>(GetParam().bytes.size()));
  EXPECT_EQ(facts.jpeg, GetParam().jpeg);
}

INSTANTIATE_TEST_SUITE_P(FirstBytes, FileFactsTest,
                         ::testing::Values(FactsCase{"Empty", {}, false},
                                           FactsCase{"PrefixAlone", {0xFF}, false},
                                           FactsCase{"SoiAlone", {0xFF, 0xD8}, true},
                                           FactsCase{"SoiThenEoi", {0xFF, 0xD8, 0xFF, 0xD9}, true},
                                           FactsCase{"EoiFirst", {0xFF, 0xD9, 0xFF, 0xD8}, false},
                                           FactsCase{"SoiBytesSwapped", {0xD8, 0xFF}, false},
                                           FactsCase{"FillBeforeSoi", {0xFF, 0xFF, 0xD8}, false},
                                           FactsCase{"SoiAfterAByte", {0x00, 0xFF, 0xD8}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file whose first read fails is no JPEG file, and its size still counts.
TEST(FileFactsTest, FirstReadFailingLeavesSizeAndNoJpeg) {
  OneSourceFileSystem files(std::make_unique<ShrunkByteSource>(Bytes{}, 100));
  StringReportSink sink;
  FileFacts facts;
  EXPECT_TRUE(AnalyseToReport(files, "in.jpg", sink, kAcOff, &facts));
  EXPECT_EQ(facts.size, 100);
  EXPECT_FALSE(facts.jpeg);
}

}  // namespace
}  // namespace vellumark
