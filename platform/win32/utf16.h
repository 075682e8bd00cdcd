#pragma once

#include <string>
#include <string_view>

namespace vellumark {

// The program keeps its text in UTF-8; Win32 takes and gives UTF-16.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace vellumark
