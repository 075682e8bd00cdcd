#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumark {

// Decimal digits, no sign padding or leading zeros.
void AppendDecimal(std::string& text, std::int64_t value);
// Upper-case hexadecimal digits without leading zeros.
void AppendHex(std::string& text, std::int64_t value);
// value right-aligned in a field of width characters, left-padded with blanks.
void AppendRightAligned(std::string& text, std::int64_t value, std::size_t width);
// "label decimal(HEXh)" and the line end: the form of position and length lines.
void AppendNumberLine(std::string& text, std::string_view label, std::int64_t decimal, std::int64_t hex);
// How many decimal digits value has.
std::size_t DecimalDigits(std::int64_t value);

}  // namespace vellumark
