#include "cli/json_writer.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <charconv>
#include <utility>

#include "common/bytes.h"

namespace vellumark {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// How many bytes of a well-formed UTF-8 sequence start at bytes[0], or 0 where
// none does (Unicode, Table 3-7). Where it is 0, *badPart is the length of the
// maximal subpart that stands for one U+FFFD: the lead byte and the
// continuation bytes that could still have completed it.
std::size_t WellFormedLength(std::string_view bytes, std::size_t& badPart) {
  const auto lead = static_cast<std::uint8_t>(bytes[0]);
  std::size_t need = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead < 0x80) {
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  }
  std::size_t length = 1;
  for (; need > 0 && length < bytes.size(); --need, ++length) {
    const auto next = static_cast<std::uint8_t>(bytes[length]);
    if (next < low || next > high) {
      break;
    }
    low = 0x80;
    high = 0xBF;
  }
  if (need == 0 && (lead < 0x80 || length > 1)) {
    return length;
  }
  badPart = length;
  return 0;
}

void AppendEscaped(std::string& text, char c) {
  switch (c) {
    case '"': text += "\\\""; return;
    case '\\': text += "\\\\"; return;
    case '\b': text += "\\b"; return;
    case '\f': text += "\\f"; return;
    case '\n': text += "\\n"; return;
    case '\r': text += "\\r"; return;
    case '\t': text += "\\t"; return;
    default: break;
  }
  if (static_cast<std::uint8_t>(c) < 0x20) {
    const auto byte = static_cast<std::uint8_t>(c);
    text += "\\u00";
    text += HexDigit(HighNibble(byte));
    text += static_cast<char>(std::tolower(HexDigit(LowNibble(byte))));
  } else {
    text += c;
  }
}

// Printable ASCII other than the quote and the backslash stands for itself.
bool IsPlain(char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; }

}  // namespace

void AppendJsonString(std::string& text, std::string_view bytes) {
  text += '"';
  while (!bytes.empty()) {
    const auto plain = static_cast<std::size_t>(std::find_if_not(bytes.begin(), bytes.end(), IsPlain) - bytes.begin());
    text.append(bytes.substr(0, plain));
    bytes.remove_prefix(plain);
    if (bytes.empty()) {
      break;
    }
    std::size_t badPart = 0;
    const std::size_t length = WellFormedLength(bytes, badPart);
    if (length == 1) {
      AppendEscaped(text, bytes[0]);
    } else if (length > 1) {
      text.append(bytes.substr(0, length));
    } else {
      text += kReplacement;
    }
    bytes.remove_prefix(length > 0 ? length : badPart);
  }
  text += '"';
}

bool IsWellFormedUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t badPart = 0;
    const std::size_t length = WellFormedLength(bytes, badPart);
    if (length == 0) {
      return false;
    }
    bytes.remove_prefix(length);
  }
  return true;
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (depth_ > 0 && std::exchange(hasMember_[depth_ - 1], true)) {
    text_ += ',';
  }
}

JsonWriter& JsonWriter::Open(char bracket) {
  assert(depth_ < kMaxDepth && "JsonWriter nests deeper than kMaxDepth");
  BeforeValue();
  text_ += bracket;
  hasMember_[depth_++] = false;
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  --depth_;
  text_ += bracket;
  return *this;
}

JsonWriter& JsonWriter::BeginObject() { return Open('{'); }
JsonWriter& JsonWriter::EndObject() { return Close('}'); }
JsonWriter& JsonWriter::BeginArray() { return Open('['); }
JsonWriter& JsonWriter::EndArray() { return Close(']'); }

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  text_ += '"';
  text_ += key;
  text_ += "\":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  std::array<char, 24> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  text_.append(digits.data(), end);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view bytes) {
  BeforeValue();
  AppendJsonString(text_, bytes);
  return *this;
}

}  // namespace vellumark
