#include "analysis/number_text.h"

#include <array>
#include <charconv>

namespace vellumark {

namespace {

std::string_view Digits(std::array<char, 24>& buffer, std::int64_t value, int base) {
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base);
  return {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
}

}  // namespace

void AppendDecimal(std::string& text, std::int64_t value) {
  std::array<char, 24> buffer;
  text += Digits(buffer, value, 10);
}

void AppendHex(std::string& text, std::int64_t value) {
  std::array<char, 24> buffer;
  for (const char c : Digits(buffer, value, 16)) {
    text += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
  }
}

void AppendRightAligned(std::string& text, std::int64_t value, std::size_t width) {
  std::array<char, 24> buffer;
  const std::string_view digits = Digits(buffer, value, 10);
  if (width > digits.size()) {
    text.append(width - digits.size(), ' ');
  }
  text += digits;
}

void AppendNumberLine(std::string& text, std::string_view label, std::int64_t decimal, std::int64_t hex) {
  text += label;
  AppendDecimal(text, decimal);
  text += '(';
  AppendHex(text, hex);
  text += "h)\r\n";
}

std::size_t DecimalDigits(std::int64_t value) {
  std::array<char, 24> buffer;
  return Digits(buffer, value, 10).size();
}

}  // namespace vellumark
