#include "cli/json_report.h"

#include <string_view>
#include <vector>

#include "analysis/file_check.h"
#include "analysis/listener_pair.h"
#include "analysis/marker_catalogue.h"
#include "analysis/marker_code.h"
#include "analysis/structure_walk.h"
#include "cli/check_report.h"
#include "cli/json_writer.h"
#include "cli/segment_json.h"
#include "common/base64.h"

namespace vellumark {

namespace {

// Problems are listed after the segments, so the first ones are kept in memory
// until then; a file with more than this is walked a second time for them.
constexpr std::size_t kHeldProblems = 1024;

// Opens the file's object with its name. A name that is not UTF-8 loses bytes
// as a JSON string, so its bytes follow too, and it can be opened again. (On
// Windows names arrive converted from UTF-16, always UTF-8.)
void BeginFileObject(JsonWriter& json, const std::string& path) {
  json.BeginObject().Key("file").String(path);
  if (!IsWellFormedUtf8(path)) {
    json.Key("file_base64").String(Base64(path));
  }
}

void WriteProblem(JsonWriter& json, const StructureProblem& problem) {
  json.BeginObject().Member("offset", problem.offset).Member("length", problem.length);
  json.Key("kind").String(ProblemKindName(problem.kind)).EndObject();
}

void WriteError(JsonWriter& json, const RuntimeError& error) {
  json.Key("error").BeginObject().Member("number", error.Number());
  json.Key("description").String(error.Description()).EndObject();
}

// The members that come last, the object's end and the line end.
void EndFileObject(JsonWriter& json, std::string& text, ReportSink& out, const std::optional<AnalysisFault>& fault,
                   bool interrupted) {
  if (fault) {
    WriteError(json, fault->error);
  }
  if (interrupted) {
    json.Key("interrupted").Bool(true);
  }
  json.EndObject();
  text += '\n';
  out.Append(text);
}

struct TrailingBytes {
  std::int64_t offset;
  std::int64_t length;
  bool beginsWithSoi;
};

// The object up to its segments, written as the first walk finds them; the
// problems are counted, and the first of them kept.
class SegmentsJson : public StructureListener {
public:
  SegmentsJson(JsonWriter& json, std::string& text, ReportSink& out, const std::string& path)
      : json_(json), text_(text), out_(out), path_(path) {}

  void Begin(std::int64_t size, bool jpeg) override {
    begun_ = true;
    jpeg_ = jpeg;
    BeginFileObject(json_, path_);
    json_.Member("size", size).Key("jpeg").Bool(jpeg);
    json_.Key("segments").BeginArray();
  }

  void Segment(const StructureSegment& segment) override {
    json_.BeginObject().Member("offset", segment.offset).Key("marker").String(MarkerName(segment.code));
    json_.Member("code", segment.code).Member("fill", segment.fill);
    if (segment.length) {
      json_.Member("length", *segment.length);
    }
    if (segment.truncated) {
      json_.Key("truncated").Bool(true);
    }
    const bool whole = segment.length && *segment.length >= 2 && !segment.truncated;
    malformed_ = whole && WriteSegmentDetails(json_, segment.code, segment.payload);
    segmentOpen_ = true;
    // After an SOS header the entropy-coded data comes next, in this object.
    if (!(whole && segment.code == marker::kSos)) {
      EndSegment();
    }
  }

  void EntropyData(std::int64_t offset, std::int64_t length, std::int64_t restarts) override {
    json_.Key("entropy").BeginObject().Member("offset", offset).Member("length", length);
    json_.Member("restarts", restarts);
    if (check_ != nullptr) {
      const PictureCheck::ScanCounts counts = check_->LastScan();
      json_.Member("mcus", counts.mcus).Member("intact", counts.intact);
    }
    json_.EndObject();
    EndSegment();
  }

  // Each scan's data then shows what the check made of it.
  void ShowScanCounts(const PictureCheck& check) { check_ = &check; }

  void Trailing(std::int64_t offset, std::int64_t length, bool beginsWithSoi) override {
    trailing_ = TrailingBytes{offset, length, beginsWithSoi};
  }

  void Problem(const StructureProblem& problem) override {
    if (held_.size() < kHeldProblems) {
      held_.push_back(problem);
    }
    ++problems_;
  }

  // Closes the segments, whether the walk ended or stopped, and writes the
  // trailing bytes.
  void EndSegments() {
    if (segmentOpen_) {
      EndSegment();
    }
    json_.EndArray();
    if (trailing_) {
      json_.Key("trailing").BeginObject().Member("offset", trailing_->offset);
      json_.Member("length", trailing_->length).Key("soi").Bool(trailing_->beginsWithSoi).EndObject();
    }
  }

  bool Begun() const { return begun_; }
  bool Jpeg() const { return jpeg_; }
  std::int64_t Problems() const { return problems_; }
  bool AllProblemsHeld() const { return problems_ <= static_cast<std::int64_t>(held_.size()); }
  const std::vector<StructureProblem>& HeldProblems() const { return held_; }

private:
  void EndSegment() {
    if (malformed_) {
      json_.Key("malformed").Bool(true);
    }
    json_.EndObject();
    segmentOpen_ = false;
    out_.Append(text_);
    text_.clear();
  }

  JsonWriter& json_;
  std::string& text_;
  ReportSink& out_;
  const std::string& path_;
  bool begun_ = false;
  bool jpeg_ = false;
  bool segmentOpen_ = false;
  bool malformed_ = false;
  std::optional<TrailingBytes> trailing_;
  const PictureCheck* check_ = nullptr;
  std::vector<StructureProblem> held_;
  std::int64_t problems_ = 0;
};

// The second walk: the problems, as many as the first walk counted.
class ProblemsJson : public StructureListener {
public:
  ProblemsJson(JsonWriter& json, std::string& text, ReportSink& out, std::int64_t count)
      : json_(json), text_(text), out_(out), left_(count) {}

  void Problem(const StructureProblem& problem) override {
    if (left_ > 0) {
      --left_;
      ++written_;
      WriteProblem(json_, problem);
      out_.Append(text_);
      text_.clear();
    }
  }

  std::int64_t Written() const { return written_; }

private:
  JsonWriter& json_;
  std::string& text_;
  ReportSink& out_;
  std::int64_t left_;
  std::int64_t written_ = 0;
};

// The walk with the check beside it, the check hearing each step first.
std::optional<CheckSummary> WalkChecked(BinaryFile& file, SegmentsJson& segments, bool& interrupted,
                                        const std::atomic<bool>* interrupt) {
  const auto unsupported = FindUnsupported(file, interrupted, interrupt);
  if (interrupted) {
    return std::nullopt;
  }
  PictureCheck check(file, unsupported, interrupt);
  segments.ShowScanCounts(check);
  ListenerPair both(check, segments);
  interrupted = !WalkStructure(file, both, interrupt);
  return check.Finish();
}

}  // namespace

JsonOutcome WriteStructureJson(FileSystem& files, const std::string& path, ReportSink& out,
                               const std::atomic<bool>* interrupt, bool check) {
  JsonOutcome outcome;
  std::string text;
  JsonWriter json(text);
  SegmentsJson segments(json, text, out, path);
  std::optional<CheckSummary> summary;
  outcome.fault = WithOpenFile(files, path, [&](BinaryFile& file) {
    if (check) {
      summary = WalkChecked(file, segments, outcome.interrupted, interrupt);
    } else {
      outcome.interrupted = !WalkStructure(file, segments, interrupt);
    }
  });
  if (!segments.Begun()) {
    // Nothing could be read: the name and the error only.
    BeginFileObject(json, path);
  } else {
    outcome.jpeg = segments.Jpeg();
    segments.EndSegments();
    json.Key("problems").BeginArray();
    if (segments.AllProblemsHeld() || outcome.interrupted) {
      for (const StructureProblem& problem : segments.HeldProblems()) {
        WriteProblem(json, problem);
      }
      outcome.problems = static_cast<std::int64_t>(segments.HeldProblems().size());
    } else {
      ProblemsJson problems(json, text, out, segments.Problems());
      const auto fault = WithOpenFile(files, path, [&](BinaryFile& file) {
        outcome.interrupted = !WalkStructure(file, problems, interrupt);
      });
      outcome.fault = outcome.fault ? outcome.fault : fault;
      outcome.problems = problems.Written();
    }
    json.EndArray();
    if (summary && !outcome.fault && !outcome.interrupted) {
      WriteCheckJson(json, *summary);
      outcome.verdict = summary->verdict;
    }
  }
  EndFileObject(json, text, out, outcome.fault, outcome.interrupted);
  return outcome;
}

void WriteUnreadableJson(const std::string& path, const RuntimeError& error, ReportSink& out) {
  std::string text;
  JsonWriter json(text);
  BeginFileObject(json, path);
  EndFileObject(json, text, out, AnalysisFault{error, std::nullopt}, false);
}

}  // namespace vellumark
