#include "cli/json_report.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/memory_byte_source.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/jpeg_builder.h"
#include "tests/support/json_structure.h"
#include "tests/support/shrunk_source.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::DhtTable;
using testing::DqtTable;
using testing::FakeFileSystem;
using testing::Join;
using testing::JpegBuilder;
using testing::JsonLineFault;

struct Written {
  std::string line;
  JsonOutcome outcome;
};

Written Json(FakeFileSystem& files, const std::string& name, const std::atomic<bool>* interrupt = nullptr) {
  StringReportSink out;
  JsonOutcome outcome = WriteStructureJson(files, name, out, interrupt);
  return {out.TakeText(), std::move(outcome)};
}

Written Json(const Bytes& file, const std::atomic<bool>* interrupt = nullptr) {
  FakeFileSystem files;
  files.files["in.jpg"] = file;
  return Json(files, "in.jpg", interrupt);
}

// SOS with one component, spectral selection 0..63.
const Bytes kScanHeader = {0x01, 0x01, 0x00, 0x00, 0x3F, 0x00};

struct StructureCase {
  const char* name;
  Bytes file;
  std::string json;  // after {"file":"in.jpg","size":N,"jpeg":true,"segments":[{SOI}
};

class StructureTest : public ::testing::TestWithParam<StructureCase> {};

TEST_P(StructureTest, WritesTheLine) {
  const Bytes file = JpegBuilder().Marker(marker::kSoi).Raw(GetParam().file).Build();
  const std::string head = R"({"file":"in.jpg","size":)" + std::to_string(file.size()) +
                           R"(,"jpeg":true,"segments":[{"offset":0,"marker":"SOI","code":216,"fill":0})";
  const Written written = Json(file);
  EXPECT_EQ(written.line, head + GetParam().json + "\n");
  EXPECT_EQ(JsonLineFault(written.line), "");
  EXPECT_TRUE(written.outcome.file.jpeg);
  EXPECT_FALSE(written.outcome.fault);
}

// Offsets count from the SOI at 0.
INSTANTIATE_TEST_SUITE_P(
    Files, StructureTest,
    ::testing::Values(
        StructureCase{"FillRestartsAndStuffedBytes",
                      JpegBuilder()
                          .Repeat(2, marker::kPrefix).Segment(marker::kDri, {0x00, 0x01})  // 2: FF FF FF DD 00 04 00 01
                          .Segment(marker::kSos, kScanHeader)                               // 10: FF DA 00 08 ...
                          .Raw({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0xFF, 0xFF, 0xD1, 0x56})  // 20: data, RST0, RST1
                          .Repeat(2, marker::kPrefix).Marker(marker::kEoi)                  // 30: EOI after 2 fill bytes
                          .Build(),
                      R"(,{"offset":2,"marker":"DRI","code":221,"fill":2,"length":4,"restart_interval":1},)"
                      R"({"offset":10,"marker":"SOS","code":218,"fill":0,"length":8,"scan":{"components":[{"id":1,"td":0,"ta":0}],"ss":0,"se":63,"ah":0,"al":0},"entropy":{"offset":20,"length":10,"restarts":2}},)"
                      R"({"offset":30,"marker":"EOI","code":217,"fill":2}],"problems":[]})"},
        StructureCase{"DataRunsToTheEndInAnFfRun",
                      JpegBuilder().Segment(marker::kSos, kScanHeader).Raw({0x12, 0xFF, 0x00, 0xFF}).Build(),
                      R"(,{"offset":2,"marker":"SOS","code":218,"fill":0,"length":8,"scan":{"components":[{"id":1,"td":0,"ta":0}],"ss":0,"se":63,"ah":0,"al":0},"entropy":{"offset":12,"length":4,"restarts":0}}],)"
                      R"("problems":[{"offset":16,"length":0,"kind":"missing-eoi"}]})"},
        StructureCase{"RestartsUpToRst7",
                      JpegBuilder().Segment(marker::kSos, kScanHeader).Raw({0x12, 0xFF, 0xD7, 0x34}).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"SOS","code":218,"fill":0,"length":8,"scan":{"components":[{"id":1,"td":0,"ta":0}],"ss":0,"se":63,"ah":0,"al":0},"entropy":{"offset":12,"length":4,"restarts":1}},)"
                      R"({"offset":16,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"SoiAlone", {}, R"(],"problems":[{"offset":2,"length":0,"kind":"missing-eoi"}]})"},
        StructureCase{"FileEndsAfterTheLengthField", JpegBuilder().MarkerWithLength(marker::kCom, 16).Build(),
                      R"(,{"offset":2,"marker":"COM","code":254,"fill":0,"length":16,"truncated":true}],)"
                      R"("problems":[{"offset":2,"length":0,"kind":"truncated-segment"},{"offset":6,"length":0,"kind":"missing-eoi"}]})"},
        StructureCase{"EmptyComment", JpegBuilder().Segment(marker::kCom, {}).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"COM","code":254,"fill":0,"length":2,"text":""},{"offset":6,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"TrailingBytesWithSoi", JpegBuilder().Marker(marker::kEoi).Marker(marker::kSoi).Build(),
                      R"(,{"offset":2,"marker":"EOI","code":217,"fill":0}],"trailing":{"offset":4,"length":2,"soi":true},"problems":[]})"},
        StructureCase{"TrailingBytesWithoutSoi", JpegBuilder().Marker(marker::kEoi).Text("abc").Build(),
                      R"(,{"offset":2,"marker":"EOI","code":217,"fill":0}],"trailing":{"offset":4,"length":3,"soi":false},"problems":[]})"},
        StructureCase{"StuffedPairWhereAMarkerBelongs", JpegBuilder().Raw({0xFF, 0x00, 0x12}).Marker(marker::kEoi).Build(),
                      R"(,{"offset":5,"marker":"EOI","code":217,"fill":0}],"problems":[{"offset":2,"length":3,"kind":"extraneous-bytes"}]})"},
        StructureCase{"SkippedBytesReachTheEnd", JpegBuilder().Text("xyz").Build(),
                      R"(],"problems":[{"offset":2,"length":3,"kind":"extraneous-bytes"},{"offset":5,"length":0,"kind":"missing-eoi"}]})"},
        StructureCase{"SkippedBytesEndInAnFfRun", JpegBuilder().Text("xy").Repeat(2, 0xFF).Build(),
                      R"(],"problems":[{"offset":2,"length":2,"kind":"extraneous-bytes"},{"offset":4,"length":2,"kind":"truncated-marker"},{"offset":6,"length":0,"kind":"missing-eoi"}]})"},
        StructureCase{"LengthFieldCutOff", JpegBuilder().Raw({0xFF, marker::kDht, 0x00}).Build(),
                      R"(],"problems":[{"offset":2,"length":3,"kind":"truncated-marker"},{"offset":5,"length":0,"kind":"missing-eoi"}]})"},
        // A bad length hides the segment's details, an SOS's entropy too.
        StructureCase{"BadLengthScan", JpegBuilder().MarkerWithLength(marker::kSos, 1).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"SOS","code":218,"fill":0,"length":1},{"offset":6,"marker":"EOI","code":217,"fill":0}],)"
                      R"("problems":[{"offset":4,"length":0,"kind":"bad-length"}]})"},
        StructureCase{"MarkersWithoutLength", JpegBuilder().Marker(marker::kTem).Marker(marker::kRst0).Marker(marker::kSoi).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"TEM","code":1,"fill":0},{"offset":4,"marker":"RST0","code":208,"fill":0},)"
                      R"({"offset":6,"marker":"SOI","code":216,"fill":0},{"offset":8,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"MalformedSegmentsKeepWhatFits",
                      JpegBuilder()
                          .Segment(marker::kSof0, {8, 0, 16, 0, 24, 2, 1, 0x21, 0})  // two components, one there
                          .Segment(marker::kDri, {0x05})                                 // one byte of two
                          .Segment(marker::kDqt, Join({DqtTable(0x01, Bytes(64, 1)), DqtTable(0x02, Bytes(64, 2)), {0x03}}))
                          .Segment(marker::kDht, DhtTable(0x10, {0, 2}, {0x07}))         // a symbol short
                          .Segment(marker::kDnl, {0, 16})
                          .Segment(marker::kSos, Join({kScanHeader, {0x99}}))            // a byte too many
                          .Marker(marker::kEoi)
                          .Build(),
                      R"(,{"offset":2,"marker":"SOF0","code":192,"fill":0,"length":11,"frame":{"precision":8,"height":16,"width":24,"components":[{"id":1,"h":2,"v":1,"tq":0}]},"malformed":true},)"
                      R"({"offset":15,"marker":"DRI","code":221,"fill":0,"length":3,"malformed":true},)"
                      R"({"offset":20,"marker":"DQT","code":219,"fill":0,"length":133,"tables":[)"
                      R"({"id":1,"precision":8,"values":[1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1],"ijg_quality":100},)"
                      R"({"id":2,"precision":8,"values":[2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2],"ijg_quality":null}],"malformed":true},)"
                      R"({"offset":155,"marker":"DHT","code":196,"fill":0,"length":20,"tables":[],"malformed":true},)"
                      R"({"offset":177,"marker":"DNL","code":220,"fill":0,"length":4,"lines":16},)"
                      R"({"offset":183,"marker":"SOS","code":218,"fill":0,"length":9,"scan":{"components":[{"id":1,"td":0,"ta":0}],"ss":0,"se":63,"ah":0,"al":0},"entropy":{"offset":194,"length":0,"restarts":0},"malformed":true},)"
                      R"({"offset":194,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"SegmentsWithAByteTooMany",
                      JpegBuilder()
                          .Segment(marker::kSof0, {8, 0, 16, 0, 24, 1, 1, 0x11, 0, 0x99})  // one component, then 99
                          .Segment(marker::kDri, {0, 1, 0x99})
                          .Marker(marker::kEoi)
                          .Build(),
                      R"(,{"offset":2,"marker":"SOF0","code":192,"fill":0,"length":12,"frame":{"precision":8,"height":16,"width":24,"components":[{"id":1,"h":1,"v":1,"tq":0}]},"malformed":true},)"
                      R"({"offset":16,"marker":"DRI","code":221,"fill":0,"length":5,"restart_interval":1,"malformed":true},)"
                      R"({"offset":23,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        // DAC lies among the SOFn codes without being one.
        StructureCase{"ArithmeticConditioning", JpegBuilder().Segment(marker::kDac, {0x00, 0x10}).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"DAC","code":204,"fill":0,"length":4},{"offset":8,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"JfifVersionWithTwoDigits",
                      JpegBuilder().Segment(marker::kApp0, {'J', 'F', 'I', 'F', 0, 1, 10, 0, 0, 1, 0, 1, 0, 0}).Marker(marker::kEoi).Build(),
                      R"(,{"offset":2,"marker":"APP0","code":224,"fill":0,"length":16,"identifier":"JFIF","jfif":{"version":"1.10","units":0,"x_density":1,"y_density":1,"thumbnail_width":0,"thumbnail_height":0}},)"
                      R"({"offset":20,"marker":"EOI","code":217,"fill":0}],"problems":[]})"},
        StructureCase{"IdentifiersAndText",
                      JpegBuilder()
                          .Segment(marker::kApp0 + 1, {'E', 'x', 'i', 'f', 0, 0})
                          .Segment(marker::kApp0 + 2, {0x01, 'x', 0})  // not printable
                          .Segment(marker::kApp0 + 3, {0})
                          .Segment(marker::kApp0, {'J', 'F', 'I', 'F', 0, 1, 2})  // too short for the fields
                          .Segment(marker::kApp15, testing::JfifPayload(0, 0, {}))  // not APP0
                          .Segment(marker::kCom, {'"', '\\', '/', '\n', 0x01, 0x7F})
                          .Segment(marker::kApp0 + 4, {'E', 'x', 0x7F, 'i', 'f', 0})  // DEL is not printable
                          .Segment(marker::kCom, {0xF5, 0x80, 0x80, 0x80})  // F5 never leads
                          .Build(),
                      R"(,{"offset":2,"marker":"APP1","code":225,"fill":0,"length":8,"identifier":"Exif"},)"
                      R"({"offset":12,"marker":"APP2","code":226,"fill":0,"length":5},)"
                      R"({"offset":19,"marker":"APP3","code":227,"fill":0,"length":3,"identifier":""},)"
                      R"({"offset":24,"marker":"APP0","code":224,"fill":0,"length":9,"identifier":"JFIF"},)"
                      R"({"offset":35,"marker":"APP15","code":239,"fill":0,"length":16,"identifier":"JFIF"},)"
                      R"({"offset":53,"marker":"COM","code":254,"fill":0,"length":8,"text":"\"\\/\n\u0001)" "\x7F" R"("},)"
                      R"({"offset":63,"marker":"APP4","code":228,"fill":0,"length":8},)"
                      R"({"offset":73,"marker":"COM","code":254,"fill":0,"length":6,"text":")" "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" R"("}],)"
                      R"("problems":[{"offset":81,"length":0,"kind":"missing-eoi"}]})"}),
    [](const auto& info) { return std::string(info.param.name); });

// The worked examples, byte for byte, named as given on the command line.
TEST(JsonReportTest, WorkedExamples) {
  const std::string dir = std::string(VELLUMARK_SOURCE_DIR) + "/tests/json/examples/";
  for (const char* name : {"damaged.jpg", "not-a-jpeg.txt", "progressive-restart-trailing.jpg"}) {
    const std::string bytes = testing::ReadWholeFile(dir + name);
    FakeFileSystem files;
    files.files[name] = Bytes(bytes.begin(), bytes.end());
    const std::string stem = std::string(name).substr(0, std::string(name).find('.'));
    EXPECT_EQ(Json(files, name).line, testing::ReadWholeFile(dir + stem + ".json")) << name;
  }
}

// Real encoder output, and every prefix of a progressive file with restart
// markers: the line parses and its spans tile the file.
TEST(JsonReportTest, SpansTileRealFiles) {
  const std::filesystem::path source(VELLUMARK_SOURCE_DIR);
  for (const auto* folder : {"tests/golden", "samples", "fuzz/seeds", "tests/json/examples"}) {
    for (const auto& entry : std::filesystem::directory_iterator(source / folder)) {
      const std::string bytes = testing::ReadWholeFile(entry.path().string());
      EXPECT_EQ(JsonLineFault(Json(Bytes(bytes.begin(), bytes.end())).line), "") << entry.path();
    }
  }
  const Bytes whole = testing::GoldenFile("restart.jpg");
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    ASSERT_EQ(JsonLineFault(Json(Bytes(whole.begin(), whole.begin() + size)).line), "") << size << " bytes";
  }
}

struct QualityCase {
  const char* file;
  std::vector<int> qualities;  // of the DQT tables in file order
};

class IjgQualityTest : public ::testing::TestWithParam<QualityCase> {};

TEST_P(IjgQualityTest, GivesTheQualityCjpegWasGiven) {
  const auto object = nlohmann::json::parse(Json(testing::GoldenFile(GetParam().file)).line);
  std::vector<int> qualities;
  for (const auto& segment : object["segments"]) {
    for (const auto& table : segment.value("tables", nlohmann::json::array())) {
      if (table.contains("ijg_quality")) {
        qualities.push_back(table["ijg_quality"]);
      }
    }
  }
  EXPECT_EQ(qualities, GetParam().qualities);
}

// quality1.jpg holds 16-bit tables; -baseline caps quality 2's chrominance
// table at 255, where it equals quality 3's.
INSTANTIATE_TEST_SUITE_P(Cjpeg, IjgQualityTest,
                         ::testing::Values(QualityCase{"baseline.jpg", {75, 75}}, QualityCase{"quality1.jpg", {1, 1}},
                                           QualityCase{"quality2-baseline.jpg", {2, 3}}));

// A file that shrinks while it is read: the object ends with the segments
// and problems found so far and the error.
TEST(JsonReportTest, ShrinkingFileEndsWithTheError) {
  const Bytes whole = testing::GoldenFile("progressive.jpg");
  // Until its first two bytes are read the object has not begun.
  for (std::size_t kept = 2; kept < whole.size(); kept += 7) {
    FakeFileSystem files;
    files.sources["in.jpg"] = [&] {
      return std::make_unique<testing::ShrunkByteSource>(Bytes(whole.begin(), whole.begin() + kept),
                                                         static_cast<std::int64_t>(whole.size()));
    };
    const Written written = Json(files, "in.jpg");
    ASSERT_EQ(JsonLineFault(written.line), "") << kept;
    ASSERT_TRUE(written.outcome.fault) << kept;
    EXPECT_EQ(written.outcome.fault->error.Number(), error_number::kPastEndOfFile);
    EXPECT_TRUE(written.line.ends_with(R"(],"error":{"number":62,"description":"输入超出文件尾"}})" "\n")) << kept;
  }
}

struct NameCase {
  const char* name;
  std::string path;
  std::string members;  // what the object begins with
};

class FileNameTest : public ::testing::TestWithParam<NameCase> {};

// A name that is not UTF-8 has its bytes in base64 after it, whether the file
// opened or not; the padding shows each length of the last group.
TEST_P(FileNameTest, BytesWhereTheNameIsNotUtf8) {
  FakeFileSystem files;
  const Written unopened = Json(files, GetParam().path);
  EXPECT_EQ(unopened.line, GetParam().members + R"(,"error":{"number":53,"description":"文件未找到"}})" "\n");
  EXPECT_FALSE(unopened.outcome.file.jpeg);
  files.files[GetParam().path] = {0xFF, marker::kSoi};
  EXPECT_TRUE(Json(files, GetParam().path).line.starts_with(GetParam().members + R"(,"size":2,)"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(NameCase{"LoneFf", "gone\xFF.jpg", "{\"file\":\"gone\xEF\xBF\xBD.jpg\",\"file_base64\":\"Z29uZf8uanBn\""},
                      NameCase{"OneByteGroup", "\xFF", "{\"file\":\"\xEF\xBF\xBD\",\"file_base64\":\"/w==\""},
                      NameCase{"TwoByteGroup", "\xFB\xFF", "{\"file\":\"\xEF\xBF\xBD\xEF\xBF\xBD\",\"file_base64\":\"+/8=\""},
                      NameCase{"CutCharacter", "\xE4\xBD", "{\"file\":\"\xEF\xBF\xBD\",\"file_base64\":\"5L0=\""},
                      NameCase{"WholeCharacter", "\xE4\xBD\x8D", "{\"file\":\"\xE4\xBD\x8D\""},
                      NameCase{"Ascii", "ab.jpg", "{\"file\":\"ab.jpg\""}),
    [](const auto& info) { return std::string(info.param.name); });

// SOI and 3000 problems, 3 bytes each.
Bytes ManyProblems() {
  JpegBuilder file;
  file.Marker(marker::kSoi);
  for (int i = 0; i < 3000; ++i) {
    file.Raw({0xFF, marker::kTem, 0x00});  // TEM, then a byte where a marker belongs
  }
  return file.Build();
}

// A file during whose reading Ctrl+C comes: after its first read.
class InterruptedSource : public MemoryByteSource {
public:
  InterruptedSource(Bytes bytes, std::atomic<bool>& interrupt)
      : MemoryByteSource(std::move(bytes)), interrupt_(interrupt) {}
  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    interrupt_ = interrupt_ || offset > 0;
    return MemoryByteSource::ReadAt(offset, dst);
  }

private:
  std::atomic<bool>& interrupt_;
};

// More problems than are held while the segments are written: a second walk
// lists them all.
TEST(JsonReportTest, ManyProblemsAreAllListed) {
  const Written written = Json(ManyProblems());
  EXPECT_EQ(written.outcome.problems, 3001);
  EXPECT_EQ(JsonLineFault(written.line), "");
  EXPECT_TRUE(written.line.ends_with(R"({"offset":9002,"length":0,"kind":"missing-eoi"}]})" "\n"));
}

// Ctrl+C leaves no time for a second walk: the problems held are listed.
TEST(JsonReportTest, InterruptedAmongManyProblems) {
  std::atomic<bool> interrupt = false;
  FakeFileSystem files;
  files.sources["in.jpg"] = [&interrupt] { return std::make_unique<InterruptedSource>(ManyProblems(), interrupt); };
  const Written written = Json(files, "in.jpg", &interrupt);
  EXPECT_TRUE(written.outcome.interrupted);
  EXPECT_GT(written.outcome.problems, 0);
  EXPECT_EQ(std::ssize(nlohmann::json::parse(written.line)["problems"]), written.outcome.problems);
}

TEST(JsonReportTest, InterruptionClosesTheObject) {
  const std::atomic<bool> interrupt = true;
  const Written written = Json(testing::GoldenFile("baseline.jpg"), &interrupt);
  EXPECT_TRUE(written.outcome.interrupted);
  EXPECT_TRUE(written.line.ends_with(R"("jpeg":true,"segments":[],"problems":[],"interrupted":true})" "\n"));
}

}  // namespace
}  // namespace vellumark
