#pragma once

#include <array>
#include <memory>
#include <vector>

#include "analysis/coefficient_history.h"
#include "analysis/scan_header.h"

namespace vellumark {

// What the scans so far did to one frame component.
struct ComponentProgress {
  static constexpr int kNotCoded = -1;

  bool coded = false;  // by a sequential scan
  // Progressive: by coefficient, the Al of the last scan that coded it.
  std::array<int, kLastCoefficient + 1> lastAl;
  std::unique_ptr<CoefficientHistory> history;

  ComponentProgress() { lastAl.fill(kNotCoded); }
  // Whether a scan began it: its DC, where the file is progressive.
  bool Started(bool progressive) const { return progressive ? lastAl[0] != kNotCoded : coded; }
  // Whether it came whole: every coefficient to Al 0, where the file is progressive.
  bool Complete(bool progressive) const;
};

// Each coefficient of a first scan must be new; a refinement must follow the
// scan that left it at Ah; AC needs the DC coded first.
bool FollowsProgression(const std::vector<ComponentProgress>& progress, const ScanHeader& header);

// What a scan coded, for the scans after it and the file's end.
void RecordScan(std::vector<ComponentProgress>& progress, const ScanHeader& header, bool progressive);

}  // namespace vellumark
