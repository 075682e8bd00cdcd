#pragma once

#include <string>
#include <string_view>

namespace vellumark {

// UTF-8 to the code page saved reports use: GBK, with the characters GBK lacks
// in GB18030's four-byte form (GBK's superset), so an edit is never lost.
std::string ToAnsiCodePage(std::string_view utf8);

}  // namespace vellumark
