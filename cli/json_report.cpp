#include "cli/json_report.h"

#include <string_view>
#include <vector>

#include "analysis/embedded_images.h"
#include "analysis/file_check.h"
#include "analysis/listener_pair.h"
#include "analysis/marker_catalogue.h"
#include "analysis/marker_code.h"
#include "analysis/structure_walk.h"
#include "cli/check_report.h"
#include "cli/images_json.h"
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

void WriteError(JsonWriter& json, const RuntimeError& error) {
  json.Key("error").BeginObject().Member("number", error.Number());
  json.Key("description").String(error.Description()).EndObject();
}

// The members that come last and the object's end.
void EndObject(JsonWriter& json, const std::optional<AnalysisFault>& fault, bool interrupted) {
  if (fault) {
    WriteError(json, fault->error);
  }
  if (interrupted) {
    json.Key("interrupted").Bool(true);
  }
  json.EndObject();
}

struct TrailingBytes {
  std::int64_t offset;
  std::int64_t length;
  bool beginsWithSoi;
};

// The object up to its segments, written as the first walk finds them; the
// problems are counted, and the first of them kept. Offsets are moved by base.
class SegmentsJson : public StructureListener {
public:
  SegmentsJson(JsonLine& line, const std::string* path, std::int64_t base)
      : json_(line.json), text_(line.text), out_(line.out), path_(path), base_(base) {}

  void Begin(std::int64_t size, bool jpeg) override {
    begun_ = true;
    if (path_ != nullptr) {
      BeginFileObject(json_, *path_);
      json_.Member("size", size);
    } else {
      json_.BeginObject();
    }
    json_.Key("jpeg").Bool(jpeg);
    json_.Key("segments").BeginArray();
  }

  void Segment(const StructureSegment& segment) override {
    json_.BeginObject().Member("offset", base_ + segment.offset).Key("marker").String(MarkerName(segment.code));
    json_.Member("code", segment.code).Member("fill", segment.fill);
    if (segment.length) {
      json_.Member("length", *segment.length);
    }
    if (segment.truncated) {
      json_.Key("truncated").Bool(true);
    }
    malformed_ = segment.Whole() && WriteSegmentDetails(json_, segment.code, segment.payload);
    segmentOpen_ = true;
    // After an SOS header the entropy-coded data comes next, in this object.
    if (!(segment.Whole() && segment.code == marker::kSos)) {
      EndSegment();
    }
  }

  void EntropyData(std::int64_t offset, std::int64_t length, std::int64_t restarts) override {
    json_.Key("entropy").BeginObject().Member("offset", base_ + offset).Member("length", length);
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
    trailing_ = TrailingBytes{base_ + offset, length, beginsWithSoi};
  }

  void Problem(const StructureProblem& problem) override {
    if (held_.size() < kHeldProblems) {
      held_.push_back(problem);
    }
    ++problems_;
  }

  // Closes the segments, whether the walk ended or stopped, and writes the
  // trailing bytes; once.
  void EndSegments() {
    if (ended_) {
      return;
    }
    ended_ = true;
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
  const std::string* path_;
  std::int64_t base_;
  bool begun_ = false;
  bool segmentOpen_ = false;
  bool malformed_ = false;
  bool ended_ = false;
  std::optional<TrailingBytes> trailing_;
  const PictureCheck* check_ = nullptr;
  std::vector<StructureProblem> held_;
  std::int64_t problems_ = 0;
};

void WriteProblem(JsonWriter& json, const StructureProblem& problem, std::int64_t base) {
  WriteProblemJson(json, base + problem.offset, problem.length, ProblemKindName(problem.kind));
}

// The second walk: the problems, as many as the first walk counted.
class ProblemsJson : public StructureListener {
public:
  ProblemsJson(JsonLine& line, std::int64_t count, std::int64_t base)
      : json_(line.json), text_(line.text), out_(line.out), left_(count), base_(base) {}

  void Problem(const StructureProblem& problem) override {
    if (left_ > 0) {
      --left_;
      ++written_;
      WriteProblem(json_, problem, base_);
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
  std::int64_t base_;
  std::int64_t written_ = 0;
};

// The first walk: the segments, what they declare of other pictures unless
// this is as deep as pictures are looked into, and, with the check, each
// scan decoded, the check hearing each step first.
std::optional<CheckSummary> WalkFirst(BinaryFile& file, SegmentsJson& segments, ImageDeclarations& declarations,
                                      JsonPlace place, JsonLine& line, bool& interrupted) {
  ListenerPair gathered(declarations, segments);
  StructureListener& heard = place.depth < kDeepestImage ? static_cast<StructureListener&>(gathered) : segments;
  if (!line.check) {
    interrupted = !WalkStructure(file, heard, line.interrupt);
    return std::nullopt;
  }
  const auto unsupported = FindUnsupported(file, interrupted, line.interrupt);
  if (interrupted) {
    return std::nullopt;
  }
  PictureCheck check(file, unsupported, line.interrupt);
  segments.ShowScanCounts(check);
  ListenerPair both(check, heard);
  interrupted = !WalkStructure(file, both, line.interrupt);
  CheckSummary summary = check.Finish();
  MoveOffsets(summary, place.base);
  return summary;
}

// The "problems" member: the walk's, then the declarations that gave no picture.
void WriteProblems(const SourceOpener& open, SegmentsJson& segments, const ImageMap& map, JsonPlace place,
                   JsonLine& line, JsonOutcome& outcome) {
  line.json.Key("problems").BeginArray();
  if (segments.AllProblemsHeld() || outcome.interrupted) {
    for (const StructureProblem& problem : segments.HeldProblems()) {
      WriteProblem(line.json, problem, place.base);
    }
    outcome.problems = static_cast<std::int64_t>(segments.HeldProblems().size());
  } else {
    ProblemsJson problems(line, segments.Problems(), place.base);
    const auto fault = WithOpenSource(open, [&](BinaryFile& file) {
      outcome.interrupted = !WalkStructure(file, problems, line.interrupt);
    });
    outcome.fault = outcome.fault ? outcome.fault : fault;
    outcome.problems = problems.Written();
  }
  for (const DeclarationFault& fault : map.faults) {
    WriteProblemJson(line.json, place.base + fault.offset, fault.length,
                     ImageProblemKindName(ImageProblemKind::BadDeclaration));
  }
  outcome.problems += static_cast<std::int64_t>(map.faults.size());
  line.json.EndArray();
}

}  // namespace

void WriteProblemJson(JsonWriter& json, std::int64_t offset, std::int64_t length, std::string_view kind) {
  json.BeginObject().Member("offset", offset).Member("length", length).Key("kind").String(kind).EndObject();
}

JsonOutcome WriteStructureObject(const SourceOpener& open, const std::string* path, JsonPlace place, JsonLine& line) {
  JsonOutcome outcome;
  SegmentsJson segments(line, path, place.base);
  ImageDeclarations declarations;
  ImageMap map;
  std::optional<CheckSummary> summary;
  outcome.fault = WithOpenSource(open, [&](BinaryFile& file) {
    outcome.file = ReadFileFacts(file);
    summary = WalkFirst(file, segments, declarations, place, line, outcome.interrupted);
    if (!outcome.interrupted && declarations.Any()) {
      map = declarations.Map(file);
      segments.EndSegments();
      WriteImagesJson(map.images, file, place, line, outcome);
    }
  });
  if (!segments.Begun()) {
    // Nothing could be read: the name and the error only.
    if (path != nullptr) {
      BeginFileObject(line.json, *path);
    } else {
      line.json.BeginObject();
    }
  } else {
    segments.EndSegments();
    WriteProblems(open, segments, map, place, line, outcome);
    if (summary && !outcome.fault && !outcome.interrupted) {
      WriteCheckJson(line.json, *summary);
      outcome.verdict = summary->verdict;
    }
  }
  EndObject(line.json, outcome.fault, outcome.interrupted);
  return outcome;
}

JsonOutcome WriteStructureJson(FileSystem& files, const std::string& path, ReportSink& out,
                               const std::atomic<bool>* interrupt, bool check) {
  std::string text;
  JsonWriter json(text);
  JsonLine line{json, text, out, interrupt, check};
  const JsonOutcome outcome = WriteStructureObject([&] { return files.OpenRead(path); }, &path, JsonPlace{}, line);
  text += '\n';
  out.Append(text);
  return outcome;
}

void WriteUnreadableJson(const std::string& path, const RuntimeError& error, ReportSink& out) {
  std::string text;
  JsonWriter json(text);
  BeginFileObject(json, path);
  EndObject(json, AnalysisFault{error, std::nullopt}, false);
  text += '\n';
  out.Append(text);
}

}  // namespace vellumark
