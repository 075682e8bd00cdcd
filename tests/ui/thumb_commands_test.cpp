#include "ui/commands/thumb_commands.h"

#include <gtest/gtest.h>

#include "tests/support/jpeg_builder.h"
#include "tests/ui/fake_window.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::CommandRig;
using testing::JfifPayload;
using testing::JpegBuilder;

// 2 x 1 pixels: red, then blue.
const Bytes kTwoPixels{0xFF, 0, 0, 0, 0, 0xFF};

Bytes FileWithThumbnail() {
  return JpegBuilder()
      .Marker(marker::kSoi)                                // SOI
      .Segment(marker::kApp0, JfifPayload(2, 1, kTwoPixels))  // APP0 length 22
      .Marker(marker::kEoi)                                // EOI
      .Build();
}

const std::string kNoThumbnail = "这不是JPEG文件 或 缩略图不存在！";

TEST(ThumbCommandsTest, EmptyNameAnswersAtOnceWithoutTouchingAnything) {
  CommandRig rig;
  rig.commands.mnuThumb_Click();
  EXPECT_EQ(rig.files.opens, 0);
  EXPECT_TRUE(rig.appPointer.shapes.empty());
  ASSERT_EQ(rig.messages.shown.size(), 1U);
  EXPECT_EQ(rig.messages.shown[0].prompt, kNoThumbnail);
  EXPECT_EQ(rig.messages.shown[0].title, "");
  EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Critical);
}

TEST(ThumbCommandsTest, UnopenableFileGivesTheErrorThenTheAnswer) {
  CommandRig rig;
  rig.dialog.FileName = "/gone.jpg";
  rig.commands.mnuThumb_Click();
  ASSERT_EQ(rig.messages.shown.size(), 2U);
  EXPECT_EQ(rig.messages.shown[0].prompt, "文件未找到");
  EXPECT_EQ(rig.messages.shown[0].title, "53");
  EXPECT_EQ(rig.messages.shown[1].prompt, kNoThumbnail);
  EXPECT_EQ(rig.appPointer.Current(), PointerShape::Default);
}

TEST(ThumbCommandsTest, FoundThumbnailIsShownInOneWindowKeptForTheRun) {
  CommandRig rig;
  rig.files.files["/t.jpg"] = FileWithThumbnail();
  rig.dialog.FileName = "/t.jpg";
  rig.commands.mnuThumb_Click();
  rig.commands.mnuThumb_Click();
  EXPECT_EQ(rig.thumbnailWindowsMade, 1);
  ASSERT_EQ(rig.thumbnailsShown.size(), 2U);
  ASSERT_TRUE(rig.thumbnailsShown[0]);
  EXPECT_EQ(rig.thumbnailsShown[0]->width, 2);
  EXPECT_EQ(rig.thumbnailsShown[0]->height, 1);
  EXPECT_EQ(rig.thumbnailsShown[0]->rgb, kTwoPixels);
  EXPECT_TRUE(rig.messages.shown.empty());
}

struct LayoutCase {
  int width;
  int height;
  int titleWidth;
  int scale;
  int clientWidth;
  int clientHeight;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, EnlargesByAWholeFactorWithinAMinimumClientArea) {
  const LayoutCase& c = GetParam();
  const JfifThumbnail picture{c.width, c.height, {}};
  const ThumbnailLayout layout = LayoutThumbnail(&picture, c.titleWidth);
  EXPECT_EQ(layout.scale, c.scale);
  EXPECT_EQ(layout.clientWidth, c.clientWidth);
  EXPECT_EQ(layout.clientHeight, c.clientHeight);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutTest,
                         ::testing::Values(LayoutCase{1, 1, 0, 96, 96, 96},
                                           LayoutCase{2, 1, 0, 48, 96, 48},
                                           LayoutCase{16, 12, 0, 6, 96, 72},
                                           LayoutCase{16, 12, 199, 6, 199, 72},
                                           LayoutCase{40, 30, 0, 3, 120, 90},
                                           LayoutCase{96, 10, 0, 1, 96, 36},
                                           LayoutCase{255, 255, 199, 1, 255, 255}));

TEST(LayoutTest, NoPictureKeepsTheEmptyClientArea) {
  EXPECT_EQ(LayoutThumbnail(nullptr, 0).clientWidth, 60);
  EXPECT_EQ(LayoutThumbnail(nullptr, 0).clientHeight, 36);
  EXPECT_EQ(LayoutThumbnail(nullptr, 150).clientWidth, 150);
}

}  // namespace
}  // namespace vellumark
