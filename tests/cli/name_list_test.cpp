#include "cli/name_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime_error.h"
#include "tests/support/files.h"

namespace vellumark {
namespace {

using testing::TempDir;
using testing::WriteWholeFile;

struct ListCase {
  const char* name;
  std::string bytes;
  NameList::Separator separator;
  std::vector<std::string> names;
};

class NameListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(NameListTest, ReadsEachName) {
  TempDir dir;
  WriteWholeFile(dir / "list", GetParam().bytes);
  NameList list(dir / "list", GetParam().separator);
  const std::atomic<bool> interrupt{false};
  std::vector<std::string> names;
  while (std::optional<std::string> name = list.Next(interrupt)) {
    names.push_back(*name);
  }
  EXPECT_EQ(names, GetParam().names);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Lists, NameListTest,
    ::testing::Values(
        // CR LF and LF ends, empty lines skipped, the last name without its LF
        ListCase{"Lines", "a.jpg\r\nb c.jpg\n\n\r\nd.jpg", NameList::Separator::LineEnd, {"a.jpg", "b c.jpg", "d.jpg"}},
        // Only a CR right before the LF belongs to the line end.
        ListCase{"InnerCr", "a\rb.jpg\r\r\n", NameList::Separator::LineEnd, {"a\rb.jpg\r"}},
        // find -print0: a name may hold a LF; empty names skipped
        ListCase{"Nul", "a.jpg\0b\nc.jpg\r\0\0d.jpg\0"s, NameList::Separator::Nul, {"a.jpg", "b\nc.jpg\r", "d.jpg"}},
        // Names longer than one block of reading
        ListCase{"Long", std::string(100000, 'x') + "\n" + std::string(70000, 'y'), NameList::Separator::LineEnd,
                 {std::string(100000, 'x'), std::string(70000, 'y')}},
        ListCase{"Empty", "", NameList::Separator::LineEnd, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameListOpenTest, MissingListIsARuntimeError) {
  TempDir dir;
  try {
    NameList list(dir / "missing", NameList::Separator::LineEnd);
    FAIL() << "opened a missing list";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), error_number::kFileNotFound);
  }
}

}  // namespace
}  // namespace vellumark
