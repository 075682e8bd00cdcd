#include "ui/commands/main_commands.h"

#include <gtest/gtest.h>

#include "analysis/marker_catalogue.h"
#include "tests/support/jpeg_builder.h"
#include "tests/support/report.h"
#include "tests/support/shrunk_source.h"
#include "tests/ui/fake_window.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;
using testing::CommandRig;
using testing::JpegBuilder;
using testing::ShrunkByteSource;

constexpr int kOpenFlags = 0x1004;
constexpr int kSaveFlags = 0x6;

// SOI, a DHT segment holding one AC table, EOI and enough padding to be walked.
Bytes FileWithAcTable() {
  return JpegBuilder()
      .Marker(marker::kSoi)                                               // FF D8 SOI
      .Segment(marker::kDht, {0x10,                                       // class 1 (AC), id 0
                      0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // two 2-bit codes
                      0x01, 0x11})                                // symbols 0/1, 1/1
      .Marker(marker::kEoi)                                               // FF D9 EOI
      .Repeat(4, 0x00)
      .Build();
}

TEST(MainCommandsTest, StartsWithTheCodeTableAndTheAcOptionOff) {
  CommandRig rig;
  EXPECT_EQ(rig.report.text, MarkerCodeTable());
  EXPECT_FALSE(rig.acOption.checked);
  EXPECT_EQ(rig.dialog.FileName, "");
}

TEST(MainCommandsTest, CancelledOpenChangesNothing) {
  CommandRig rig;
  rig.dialog.answers = {std::nullopt};
  rig.commands.mnuOpen_Click();
  EXPECT_EQ(rig.report.text, MarkerCodeTable());
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.dialog.FileName, "");
  EXPECT_EQ(rig.files.opens, 0);
}

TEST(MainCommandsTest, OpenShowsTheReportOfTheChosenFile) {
  CommandRig rig;
  rig.files.files["/pics/a.jpg"] = FileWithAcTable();
  rig.dialog.answers = {"/pics/a.jpg"};
  rig.commands.mnuOpen_Click();
  EXPECT_EQ(rig.report.text, AnalyseBytes(FileWithAcTable()).report);
  EXPECT_TRUE(rig.messages.shown.empty());
}

// The first dialog starts in the program's folder with no name; later ones start
// from the current file, whatever command chose it.
TEST(MainCommandsTest, DialogSettingsForOpenAndSave) {
  CommandRig rig;
  rig.files.files["/pics/a.jpg"] = FileWithAcTable();
  rig.dialog.answers = {"/pics/a.jpg", "/pics/a.txt", std::nullopt};
  rig.commands.mnuOpen_Click();
  rig.commands.mnuSave_Click();
  rig.commands.mnuOpen_Click();
  ASSERT_EQ(rig.dialog.showings.size(), 3U);
  const auto& open = rig.dialog.showings[0];
  EXPECT_FALSE(open.forSaving);
  EXPECT_EQ(open.filter, "JPEG文件(*.jpg;*.jpeg)|*.jpg;*.jpeg");
  EXPECT_EQ(open.flags, kOpenFlags);
  EXPECT_EQ(open.initDir, "/opt/vellumark");
  EXPECT_EQ(open.initialName, "");
  const auto& save = rig.dialog.showings[1];
  EXPECT_TRUE(save.forSaving);
  EXPECT_EQ(save.filter, "文本文件(*.txt)|*.txt");
  EXPECT_EQ(save.flags, kSaveFlags);
  EXPECT_EQ(save.initDir, "");
  EXPECT_EQ(save.initialName, "/pics/a.jpg");
  EXPECT_EQ(rig.dialog.showings[2].initialName, "/pics/a.txt");
}

TEST(MainCommandsTest, DialogFailureShowsItsDescriptionOnly) {
  for (const bool saving : {false, true}) {
    CommandRig rig;
    rig.dialog.failure = error_number::kPathNotFound;
    saving ? rig.commands.mnuSave_Click() : rig.commands.mnuOpen_Click();
    ASSERT_EQ(rig.messages.shown.size(), 1U);
    EXPECT_EQ(rig.messages.shown[0].prompt, "路径未找到");
    EXPECT_EQ(rig.messages.shown[0].title, "76");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(rig.report.text, MarkerCodeTable());
  }
}

TEST(MainCommandsTest, RefreshWithoutAFileReportsTheBadName) {
  CommandRig rig;
  rig.commands.mnuRefresh_Click();
  EXPECT_EQ(rig.report.text, "");
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].prompt, "错误的文件名");
  EXPECT_EQ(rig.messages.shown[0].title, "52");
}

// The hourglass is on during the walk and gone before the box appears.
TEST(MainCommandsTest, ErrorAfterOpenKeepsTheLinesAndGivesThePosition) {
  CommandRig rig;
  const Bytes file = JpegBuilder().Marker(marker::kSoi).Segment(marker::kCom, Bytes(30, 'x')).Build();
  // The file claims 40 bytes but only its first 10 can still be read.
  rig.files.sources["/cut.jpg"] = [file] {
    return std::make_unique<ShrunkByteSource>(Bytes(file.begin(), file.begin() + 10), 40);
  };
  rig.dialog.FileName = "/cut.jpg";
  PointerShape pointerDuringBox = PointerShape::Hourglass;
  rig.messages.onShow = [&] { pointerDuringBox = rig.appPointer.Current(); };
  rig.commands.mnuRefresh_Click();
  EXPECT_EQ(rig.report.text, "位置:1(0h)\r\n标记:SOI\r\n\r\n位置:3(2h)\r\n标记:COM\r\n长度:32(20h)\r\n");
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].prompt, "输入超出文件尾\r\n\r\nSeek:5");
  EXPECT_EQ(rig.messages.shown[0].title, "62");
  EXPECT_EQ(pointerDuringBox, PointerShape::Default);
  EXPECT_EQ(rig.appPointer.shapes,
            (std::vector{PointerShape::Hourglass, PointerShape::Default}));
}

TEST(MainCommandsTest, AcOptionTakesEffectAtTheNextAnalysis) {
  CommandRig rig;
  rig.files.files["/a.jpg"] = FileWithAcTable();
  rig.dialog.FileName = "/a.jpg";
  rig.commands.mnuRefresh_Click();
  const std::string hidden = rig.report.text;
  rig.commands.mnuShowACH_Click();
  EXPECT_TRUE(rig.acOption.checked);
  EXPECT_EQ(rig.report.text, hidden);
  rig.commands.mnuRefresh_Click();
  EXPECT_EQ(rig.report.text, AnalyseBytes(FileWithAcTable(), true).report);
  EXPECT_NE(rig.report.text, hidden);
  rig.commands.mnuShowACH_Click();
  EXPECT_FALSE(rig.acOption.checked);
}

TEST(MainCommandsTest, SaveWritesTheTextAsShownWithTheWindowHourglass) {
  CommandRig rig;
  rig.report.text = "标记:SOI\r\nedited by hand\r\n";
  rig.dialog.answers = {"/out/r.txt"};
  rig.commands.mnuSave_Click();
  EXPECT_EQ(rig.files.written["/out/r.txt"], "标记:SOI\r\nedited by hand\r\n");
  EXPECT_EQ(rig.windowPointer.shapes, (std::vector{PointerShape::Hourglass, PointerShape::Default}));
  EXPECT_TRUE(rig.appPointer.shapes.empty());
  EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(MainCommandsTest, FailedSaveShowsOneBoxAfterThePointerIsBack) {
  CommandRig rig;
  rig.files.failures["/ro/r.txt"] = error_number::kAccessDenied;
  rig.dialog.answers = {"/ro/r.txt"};
  PointerShape pointerDuringBox = PointerShape::Hourglass;
  rig.messages.onShow = [&] { pointerDuringBox = rig.windowPointer.Current(); };
  rig.commands.mnuSave_Click();
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].prompt, "拒绝访问");
  EXPECT_EQ(rig.messages.shown[0].title, "70");
  EXPECT_EQ(pointerDuringBox, PointerShape::Default);
}

// Open and Save share one current file: after a save, Refresh reads the report.
TEST(MainCommandsTest, RefreshAfterSaveAnalysesTheSavedReport) {
  CommandRig rig;
  rig.files.files["/a.jpg"] = FileWithAcTable();
  rig.files.files["/a.txt"] = Bytes(25, 'x');
  rig.dialog.answers = {"/a.jpg", "/a.txt"};
  rig.commands.mnuOpen_Click();
  rig.commands.mnuSave_Click();
  rig.commands.mnuRefresh_Click();
  EXPECT_EQ(rig.report.text, "位置:1(0h)\r\n非JPEG标记，或图像压缩数据\r\n");
}

// A file of FF 00 pairs makes 20 bytes of report per byte: the window keeps as
// much of it as the text box takes, to the end of a line, and says where it stopped.
TEST(MainCommandsTest, LongReportIsCutWithANote) {
  CommandRig rig;
  Bytes pairs;
  for (int i = 0; i < 64 * 1024; ++i) {
    pairs.insert(pairs.end(), {marker::kPrefix, marker::kStuffedZero});
  }
  rig.files.files["/ff00.bin"] = pairs;
  rig.dialog.FileName = "/ff00.bin";
  rig.commands.mnuRefresh_Click();
  const std::string& text = rig.report.text;
  const std::size_t noteStart = text.rfind("报告过长，截断于位置:");
  ASSERT_NE(noteStart, std::string::npos);
  EXPECT_LE(noteStart, rig.report.capacity);
  EXPECT_GT(noteStart, rig.report.capacity - 100);
  const std::string full = AnalyseBytes(pairs).report;
  EXPECT_EQ(full.compare(0, noteStart, text, 0, noteStart), 0);
  // The walk stopped after the marker whose lines no longer fitted.
  EXPECT_TRUE(text.ends_with("h)\r\n"));
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.appPointer.Current(), PointerShape::Default);
}

TEST(MainCommandsTest, AboutShowsFiveLines) {
  CommandRig rig;
  rig.commands.mnuAbout_Click();
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].prompt,
            "产品：Vellumark\r\n版本：1.0.38\r\n作者：Vellumark 项目\r\n"
            "版权：© 2026 Vellumark 项目\r\n说明：JPEG文件分析工具");
  EXPECT_EQ(rig.messages.shown[0].title, "关于");
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
}

TEST(MainCommandsTest, QuitClosesWithoutAsking) {
  CommandRig rig;
  rig.report.text = "edited";
  rig.commands.mnuQuit_Click();
  EXPECT_TRUE(rig.window.closed);
  EXPECT_TRUE(rig.messages.shown.empty());
}

}  // namespace
}  // namespace vellumark
