#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/check_faults.h"
#include "analysis/file_analysis.h"
#include "analysis/report_sink.h"
#include "cli/json_writer.h"
#include "platform/file_system.h"

namespace vellumark {

struct JsonOutcome {
  std::optional<AnalysisFault> fault;  // also written into the object as "error"
  FileFacts file;
  std::int64_t problems = 0;           // problems listed in the object
  bool interrupted = false;
  std::optional<Verdict> verdict;      // with the check, where it ran to the end
  std::vector<Verdict> imageVerdicts;  // with the check, of the pictures inside, in file order
};

// Writes path's structure as one JSON line ending in LF to out. When *interrupt becomes true, the walk stops
// within a fraction of a second of work and the object is closed validly with "interrupted":true as its last key.
// With check, every scan's data is decoded too: each "entropy" gains its MCU counts and the object a "check".
JsonOutcome WriteStructureJson(FileSystem& files, const std::string& path, ReportSink& out,
                               const std::atomic<bool>* interrupt = nullptr, bool check = false);

// The line of a name that could not be read at all, as a file that cannot be opened gets it:
// {"file":…,"error":{…}}.
void WriteUnreadableJson(const std::string& path, const RuntimeError& error, ReportSink& out);

// What the objects of one line share.
struct JsonLine {
  JsonWriter& json;
  std::string& text;  // what json wrote and out has not had yet
  ReportSink& out;
  const std::atomic<bool>* interrupt;
  bool check;
};

// Where an object's bytes lie: offsets are written as base plus their offset
// in the bytes walked; depth 0 is a file, 1 a picture inside it, 2 a picture
// inside that, which is not looked into further.
struct JsonPlace {
  std::int64_t base = 0;
  int depth = 0;
};

// The object of the bytes open gives: a file's (with path, its "file" and
// "size") or, without path, a picture's "structure".
JsonOutcome WriteStructureObject(const SourceOpener& open, const std::string* path, JsonPlace place, JsonLine& line);

// A problem object as every "problems" array holds them.
void WriteProblemJson(JsonWriter& json, std::int64_t offset, std::int64_t length, std::string_view kind);

}  // namespace vellumark
