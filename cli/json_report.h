#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/check_faults.h"
#include "analysis/file_analysis.h"
#include "analysis/report_sink.h"
#include "platform/file_system.h"

namespace vellumark {

struct JsonOutcome {
  std::optional<AnalysisFault> fault;  // also written into the object as "error"
  bool jpeg = false;                   // the file begins with FF D8
  std::int64_t problems = 0;           // problems listed in the object
  bool interrupted = false;
  std::optional<Verdict> verdict;      // with the check, where it ran to the end
};

// Writes path's structure as one JSON line ending in LF to out. When *interrupt becomes true, the walk stops
// within a fraction of a second of work and the object is closed validly with "interrupted":true as its last key.
// With check, every scan's data is decoded too: each "entropy" gains its MCU counts and the object a "check".
JsonOutcome WriteStructureJson(FileSystem& files, const std::string& path, ReportSink& out,
                               const std::atomic<bool>* interrupt = nullptr, bool check = false);

// The line of a name that could not be read at all, as a file that cannot be opened gets it:
// {"file":…,"error":{…}}.
void WriteUnreadableJson(const std::string& path, const RuntimeError& error, ReportSink& out);

}  // namespace vellumark
