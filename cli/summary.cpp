#include "cli/summary.h"

#include <cstdio>

#include "cli/check_report.h"
#include "cli/messages.h"

namespace vellumark {

BatchTotals& BatchTotals::operator+=(const BatchTotals& other) {
  files += other.files;
  jpeg += other.jpeg;
  withProblems += other.withProblems;
  unreadable += other.unreadable;
  bytes += other.bytes;
  for (std::size_t i = 0; i < verdicts.size(); ++i) {
    verdicts[i] += other.verdicts[i];
  }
  failed += other.failed;
  return *this;
}

std::string SummaryLine(const BatchTotals& totals, bool problemsCounted, double seconds) {
  const std::uint64_t files = totals.files;
  const std::string problems = problemsCounted ? std::to_string(totals.withProblems) : "-";
  char timing[64];
  std::snprintf(timing, sizeof timing, "%.3f s, %.0f files/s", seconds,
                seconds > 0 ? static_cast<double>(files) / seconds : 0.0);
  return std::string(kMessagePrefix) + std::to_string(files) + " files, " + std::to_string(totals.jpeg) + " JPEG, " +
         problems + " with problems, " + std::to_string(totals.unreadable) + " unreadable, " +
         std::to_string(totals.bytes) + " bytes, " + timing + "\n";
}

}  // namespace vellumark

namespace vellumark {

std::string VerdictLine(const BatchTotals& totals) {
  std::string line(kMessagePrefix);
  for (std::size_t i = 0; i < totals.verdicts.size(); ++i) {
    line += std::to_string(totals.verdicts[i]) + " " + std::string(VerdictText(static_cast<Verdict>(i))) + ", ";
  }
  return line + std::to_string(totals.unreadable) + " UNREADABLE\n";
}

}  // namespace vellumark
