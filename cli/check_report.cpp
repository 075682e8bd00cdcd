#include "cli/check_report.h"

#include <memory>

#include "analysis/embedded_images.h"
#include "platform/file_window.h"

namespace vellumark {

namespace {

// 100 × intact / expected, cut to one decimal.
std::string IntactPercent(std::int64_t intact, std::int64_t mcus) {
  const std::int64_t tenths = mcus == 0 ? 0 : intact * 1000 / mcus;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string Where(const CheckFault& fault) {
  std::string text = std::string(FaultKindName(fault.kind)) + " at " + std::to_string(fault.offset);
  if (fault.bit) {
    text += "." + std::to_string(*fault.bit);
  }
  if (fault.scan) {
    text += " in scan " + std::to_string(*fault.scan);
  }
  if (fault.mcu) {
    const McuPosition& at = *fault.mcu;
    text += ", MCU " + std::to_string(at.column) + "," + std::to_string(at.row) + ", pixel " +
            std::to_string(at.x) + "," + std::to_string(at.y);
  }
  return text;
}

void WriteFault(JsonWriter& json, const CheckFault& fault) {
  json.BeginObject().Key("kind").String(FaultKindName(fault.kind)).Member("offset", fault.offset);
  if (fault.bit) {
    json.Member("bit", *fault.bit);
  }
  if (fault.length) {
    json.Member("length", *fault.length);
  }
  if (fault.scan) {
    json.Member("scan", *fault.scan);
  }
  if (fault.mcu) {
    json.Key("mcu").BeginArray().Int(fault.mcu->column).Int(fault.mcu->row).EndArray();
    json.Key("pixel").BeginArray().Int(fault.mcu->x).Int(fault.mcu->y).EndArray();
  }
  json.EndObject();
}

bool Shown(Verdict verdict, CheckLineChoice choice) {
  return !choice.quiet || Fails(verdict, choice.strict);
}

// Where the lines of the pictures inside a file go.
struct ImageLines {
  const std::string& path;
  ReportSink& out;
  CheckLineChoice choice;
  const std::atomic<bool>* interrupt;
  CheckOutcome& outcome;
};

// A line for each JPEG of map, "NAME@OFFSET (ROLE): …", each followed by the
// lines of the pictures inside it; none more once *interrupt stops a check.
void CheckImages(BinaryFile& file, const ImageMap& map, std::int64_t base, ImageLines& lines, int depth = 1) {
  for (const EmbeddedImage& image : map.images) {
    if (!image.Jpeg()) {
      continue;
    }
    BinaryFile alone(std::make_unique<FileWindow>(file, image.offset, image.inFile));
    ImageDeclarations inside;
    std::optional<CheckSummary> summary =
        CheckPictures(alone, lines.interrupt, depth < kDeepestImage ? &inside : nullptr);
    if (!summary) {
      return;
    }
    const std::int64_t offset = base + image.offset;
    MoveOffsets(*summary, offset);
    lines.outcome.imageVerdicts.push_back(summary->verdict);
    if (Shown(summary->verdict, lines.choice)) {
      const std::string name =
          lines.path + "@" + std::to_string(offset) + " (" + std::string(ImageRoleName(image.role)) + ")";
      lines.out.Append(CheckLine(name, *summary));
    }
    if (depth < kDeepestImage && inside.Any()) {
      CheckImages(alone, inside.Map(alone), offset, lines, depth + 1);
    }
  }
}

}  // namespace

std::string_view VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Ok: return "OK";
    case Verdict::Warning: return "WARNING";
    case Verdict::Damaged: return "DAMAGED";
    case Verdict::Truncated: return "TRUNCATED";
    case Verdict::NotJpeg: return "NOT JPEG";
    case Verdict::Unsupported: return "UNSUPPORTED";
  }
  return {};
}

bool Fails(Verdict verdict, bool strict) {
  return verdict != Verdict::Ok && (strict || verdict != Verdict::Warning);
}

std::string CheckLine(const std::string& path, const CheckSummary& summary) {
  std::string line = path + ": " + std::string(VerdictText(summary.verdict));
  switch (summary.verdict) {
    case Verdict::Warning: line += ": " + Where(CheckFault::At(summary.first->kind, summary.first->offset)); break;
    case Verdict::Damaged:
    case Verdict::Truncated:
      line += ": " + Where(*summary.first) + "; " + IntactPercent(summary.intact, summary.mcus) + "% intact";
      break;
    case Verdict::Unsupported: line += ": " + std::string(summary.reason); break;
    case Verdict::Ok:
    case Verdict::NotJpeg: break;
  }
  return line + "\n";
}

void WriteCheckJson(JsonWriter& json, const CheckSummary& summary) {
  json.Key("check").BeginObject().Key("verdict").String(VerdictName(summary.verdict));
  if (summary.verdict == Verdict::Unsupported) {
    json.Key("reason").String(summary.reason);
  }
  if (summary.first) {
    json.Key("first");
    WriteFault(json, *summary.first);
  }
  json.Key("faults").BeginArray();
  for (const CheckFault& fault : summary.faults) {
    WriteFault(json, fault);
  }
  json.EndArray().Member("fault_count", summary.faultCount);
  json.Member("mcus", summary.mcus).Member("intact", summary.intact).EndObject();
}

CheckOutcome WriteCheckLine(FileSystem& files, const std::string& path, ReportSink& out, CheckLineChoice choice,
                            const std::atomic<bool>* interrupt) {
  CheckOutcome outcome;
  std::optional<CheckSummary> summary;
  ImageDeclarations declarations;
  outcome.fault = WithOpenFile(files, path, [&](BinaryFile& file) {
    outcome.file = ReadFileFacts(file);
    summary = CheckPictures(file, interrupt, &declarations);
    if (summary) {
      outcome.verdict = summary->verdict;
      if (Shown(summary->verdict, choice)) {
        out.Append(CheckLine(path, *summary));
      }
      if (declarations.Any()) {
        ImageLines lines{path, out, choice, interrupt, outcome};
        CheckImages(file, declarations.Map(file), 0, lines);
      }
    }
  });
  if (outcome.fault) {
    out.Append(path + ": UNREADABLE\n");
  }
  return outcome;
}

}  // namespace vellumark
