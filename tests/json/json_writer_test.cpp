#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace vellumark {
namespace {

struct TextCase {
  const char* name;
  std::string bytes;
  std::string json;  // as Python's json.dumps(bytes.decode(errors="replace"), ensure_ascii=False) writes it
};

class JsonStringTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(JsonStringTest, WritesWhatPythonWrites) {
  std::string text;
  AppendJsonString(text, GetParam().bytes);
  EXPECT_EQ(text, GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, JsonStringTest,
    ::testing::Values(
        TextCase{"QuoteBackslashSlash", "\"\\/", R"("\"\\/")"},
        TextCase{"DeleteAsItIs", "\x7F", "\"\x7F\""},
        TextCase{"ControlCharacters", std::string("\x00\x01\b\t\n\x0B\f\r\x1F", 9),
                 R"("\u0000\u0001\b\t\n\u000b\f\r\u001f")"},
        TextCase{"WellFormedKept", "\xE4\xBD\x8D\xF0\x9F\x98\x80", "\"\xE4\xBD\x8D\xF0\x9F\x98\x80\""},
        // Each maximal ill-formed subsequence becomes one U+FFFD.
        TextCase{"LoneContinuation", "\x80", "\"\xEF\xBF\xBD\""},
        TextCase{"Overlong", "\xC0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        TextCase{"ThreeByteCutBeforeAscii", "\xE1\x80" "A", "\"\xEF\xBF\xBD" "A\""},
        TextCase{"LeadWithWrongSecondByte", "\xE0\x80" "A", "\"\xEF\xBF\xBD\xEF\xBF\xBD" "A\""},
        TextCase{"Surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        TextCase{"AboveU10FFFF", "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        TextCase{"FourByteCutAtTheEnd", "\xF0\x9F\x98", "\"\xEF\xBF\xBD\""},
        TextCase{"NeverALead", "\xF5", "\"\xEF\xBF\xBD\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonWriterTest, CommasBetweenMembersOnly) {
  std::string text;
  JsonWriter json(text);
  json.BeginObject().Member("a", -1).Key("b").BeginArray().Int(1).Null().Bool(false).BeginObject().EndObject();
  json.EndArray().Key("c").BeginArray().EndArray().EndObject();
  EXPECT_EQ(text, R"({"a":-1,"b":[1,null,false,{}],"c":[]})");
}

// As deep as the writer goes, and in debug builds not one level deeper.
TEST(JsonWriterTest, NestsToItsLimit) {
  std::string text;
  JsonWriter json(text);
  for (std::size_t i = 0; i < JsonWriter::kMaxDepth; ++i) {
    json.BeginArray();
  }
  EXPECT_EQ(json.Depth(), JsonWriter::kMaxDepth);
#ifndef NDEBUG
  EXPECT_DEATH(json.BeginArray(), "kMaxDepth");
#endif
  for (std::size_t i = 0; i < JsonWriter::kMaxDepth; ++i) {
    json.EndArray();
  }
  EXPECT_EQ(text, std::string(JsonWriter::kMaxDepth, '[') + std::string(JsonWriter::kMaxDepth, ']'));
}

}  // namespace
}  // namespace vellumark
