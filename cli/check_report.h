#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "analysis/file_analysis.h"
#include "analysis/file_check.h"
#include "analysis/report_sink.h"
#include "cli/json_writer.h"
#include "platform/file_system.h"

namespace vellumark {

// Which --check lines are left out.
struct CheckLineChoice {
  bool quiet = false;   // no OK lines, and no WARNING lines unless strict
  bool strict = false;  // a warning fails the file
};

// "OK", "WARNING", "DAMAGED", "TRUNCATED", "NOT JPEG", "UNSUPPORTED".
std::string_view VerdictText(Verdict verdict);

// Whether a verdict fails the run.
bool Fails(Verdict verdict, bool strict);

// "NAME: VERDICT…" and LF, the check's answer for one file.
std::string CheckLine(const std::string& path, const CheckSummary& summary);

// The "check" member of a file's JSON object.
void WriteCheckJson(JsonWriter& json, const CheckSummary& summary);

struct CheckOutcome {
  std::optional<AnalysisFault> fault;  // the file could not be read: "NAME: UNREADABLE"
  FileFacts file;
  std::optional<Verdict> verdict;      // absent where unreadable or interrupted
  std::vector<Verdict> imageVerdicts;  // of the pictures inside, in file order
};

// Checks path and writes its line to out, unless choice leaves it out or *interrupt stops the check.
CheckOutcome WriteCheckLine(FileSystem& files, const std::string& path, ReportSink& out, CheckLineChoice choice,
                            const std::atomic<bool>* interrupt = nullptr);

}  // namespace vellumark
