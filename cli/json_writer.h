#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellumark {

// Compact JSON appended to a string, byte for byte as Python's
// json.dumps(value, ensure_ascii=False, separators=(",", ":")) writes it. The
// caller gives keys and values in order; the writer puts the commas. Text is
// written as UTF-8, with each maximal ill-formed subsequence of its bytes
// replaced by U+FFFD, so any bytes make a valid document.
class JsonWriter {
public:
  explicit JsonWriter(std::string& text) : text_(text) {}

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // Keys are the program's own names: plain ASCII, written as they are.
  JsonWriter& Key(std::string_view key);
  JsonWriter& Int(std::int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  JsonWriter& String(std::string_view bytes);

  // Key and value in one call, for the many plain members.
  JsonWriter& Member(std::string_view key, std::int64_t value) { return Key(key).Int(value); }

  // How many objects and arrays are open.
  std::size_t Depth() const { return depth_; }

  // The deepest the writer nests; the structure report nests seven deep.
  // Deeper is the caller's mistake, which debug builds stop at.
  static constexpr std::size_t kMaxDepth = 16;

private:
  // The comma before every value but the first of its object or array.
  void BeforeValue();
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);

  std::string& text_;
  // Whether the open object or array at each depth has a member yet.
  std::array<bool, kMaxDepth> hasMember_{};
  std::size_t depth_ = 0;
  bool afterKey_ = false;
};

// Appends bytes as a JSON string, quotes included.
void AppendJsonString(std::string& text, std::string_view bytes);

// Whether bytes are UTF-8 throughout, so that a JSON string keeps them all.
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace vellumark
