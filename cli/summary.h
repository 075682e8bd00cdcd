#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vellumark {

// What --summary reports, added up by every job.
struct BatchTotals {
  std::atomic<std::uint64_t> files{0};
  std::atomic<std::uint64_t> jpeg{0};  // beginning with FF D8
  std::atomic<std::uint64_t> withProblems{0};
  std::atomic<std::uint64_t> unreadable{0};
  std::atomic<std::uint64_t> bytes{0};  // the sizes of the files that opened
};

// "vellumark-report: N files, J JPEG, P with problems, U unreadable, B bytes,
// S s, R files/s", with "-" for P where problems were not counted.
std::string SummaryLine(const BatchTotals& totals, bool problemsCounted, double seconds);

}  // namespace vellumark
