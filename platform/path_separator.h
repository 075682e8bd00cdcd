#pragma once

namespace vellumark {

// What the system puts between a folder's name and the names in it.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace vellumark
