#include "platform/runtime_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/error_box.h"
#include "tests/fakes/fake_platform.h"

namespace vellumark {
namespace {

TEST(ErrorBoxTest, PromptWithoutAnOpenFileIsTheDescription) {
  testing::FakeMessageBox box;
  ShowErrorBox(box, MakeError(error_number::kFileNotFound));
  ASSERT_EQ(box.shown.size(), 1U);
  EXPECT_EQ(box.shown[0].prompt, "文件未找到");
  EXPECT_EQ(box.shown[0].title, "53");
  EXPECT_EQ(box.shown[0].icon, MessageIcon::Critical);
}

TEST(ErrorBoxTest, PromptWithAnOpenFileEndsWithTheReadPosition) {
  testing::FakeMessageBox box;
  ShowErrorBox(box, MakeError(error_number::kPastEndOfFile), 4'294'967'297);
  ASSERT_EQ(box.shown.size(), 1U);
  EXPECT_EQ(box.shown[0].prompt, "输入超出文件尾\r\n\r\nSeek:4294967297");
  EXPECT_EQ(box.shown[0].title, "62");
}

// An errno outside the table keeps the system's own text.
TEST(SystemErrorTest, UnlistedErrnoKeepsTheSystemText) {
  const RuntimeError error = SystemError(EBUSY, "/some/file");
  EXPECT_EQ(error.Number(), 1000 + EBUSY);
  EXPECT_EQ(error.Description(), std::strerror(EBUSY));
}

}  // namespace
}  // namespace vellumark
