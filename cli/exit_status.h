#pragma once

namespace vellumark {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// 128 + SIGINT: what shells report for a program that Ctrl+C ended.
inline constexpr int kExitInterrupted = 130;

}  // namespace vellumark
