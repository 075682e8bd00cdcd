#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vellumark {

// What --summary reports. Each thread adds up its own, so that the threads
// share no counter per file, and the totals meet at the end.
struct BatchTotals {
  std::uint64_t files = 0;
  std::uint64_t jpeg = 0;  // beginning with FF D8
  std::uint64_t withProblems = 0;
  std::uint64_t unreadable = 0;
  std::uint64_t bytes = 0;  // the sizes of the files that opened
  // With --check: how many files got each verdict, by its number, and how many of them fail the run.
  std::array<std::uint64_t, 6> verdicts{};
  std::uint64_t failed = 0;

  BatchTotals& operator+=(const BatchTotals& other);
};

// "vellumark-report: N files, J JPEG, P with problems, U unreadable, B bytes,
// S s, R files/s", with "-" for P where problems were not counted.
std::string SummaryLine(const BatchTotals& totals, bool problemsCounted, double seconds);

// "vellumark-report: K OK, W WARNING, D DAMAGED, T TRUNCATED, N NOT JPEG, S UNSUPPORTED, U UNREADABLE".
std::string VerdictLine(const BatchTotals& totals);

}  // namespace vellumark
