#pragma once

#include <string>
#include <string_view>

namespace vellumark {

// What each line the program writes to standard error begins with.
inline constexpr std::string_view kMessagePrefix = "vellumark-report: ";

// The line standard error gets where standard output takes no more, whatever
// the mode: without it a full disk would pass for an empty answer.
inline std::string CannotWriteOutput() { return std::string(kMessagePrefix) + "cannot write to standard output\n"; }

}  // namespace vellumark
