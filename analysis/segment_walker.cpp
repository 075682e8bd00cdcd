#include "analysis/segment_walker.h"

#include <algorithm>
#include <string>

#include "analysis/length_field.h"
#include "analysis/marker_catalogue.h"
#include "analysis/number_text.h"
#include "analysis/report_text.h"

namespace vellumark {

namespace {

// Files this short cannot hold a JPEG image and are not walked.
constexpr std::int64_t kLongestUnwalkedFile = 20;

class Walker {
public:
  Walker(BinaryFile& file, ReportSink& sink, const AcOption& showAcCodes)
      : file_(file), sink_(sink), showAcCodes_(showAcCodes) {}

  void Run() {
    if (file_.Length() <= kLongestUnwalkedFile) {
      AppendLine(report_text::kFileTooShort);
      return;
    }
    // A file that ends after EOI, or after a segment that reaches its end,
    // ends the report here without a message.
    while (file_.Remaining() >= 2) {
      if (!WalkMarkerRun()) {
        return;
      }
    }
  }

private:
  // One run of 0xFF bytes and the marker after it. A run gets one position
  // line, at its first 0xFF. Returns false where the report ends.
  bool WalkMarkerRun() {
    AppendPositionLine(file_.Seek());
    std::uint8_t code = file_.ReadByte();
    if (code != marker::kPrefix) {
      AppendLine(report_text::kNotAMarker);
      return false;
    }
    while (code == marker::kPrefix && file_.Remaining() > 0) {
      code = file_.ReadByte();
      if (code == marker::kPrefix) {
        continue;
      }
      AppendLine(report_text::kMarker, MarkerName(code));
      if (MarkerHasLength(code) && !WalkSegment(code)) {
        return false;
      }
      AppendLine({});
    }
    return true;
  }

  // The length field and the segment after it. Returns false where the length
  // is bad, which ends the report without a closing line.
  bool WalkSegment(std::uint8_t code) {
    const std::int64_t start = file_.Seek();
    const std::int64_t declared = ReadLengthField(file_);
    AppendNumberLine(report_text::kLength, declared, declared);
    // A length that runs past the end of the file is cut to what the file has,
    // so no read below leaves the file.
    const std::int64_t length = std::min(declared, file_.Length() - start + 1);
    if (length < kLengthFieldSize) {
      AppendLine(report_text::kBadLength);
      return false;
    }
    file_.SetSeek(start);
    const std::vector<std::uint8_t> segment = file_.ReadBytes(length);
    ShowSegmentDetail(code, segment, showAcCodes_, sink_);
    return true;
  }

  void AppendPositionLine(std::int64_t position) {
    AppendNumberLine(report_text::kPosition, position, position - 1);
  }

  void AppendNumberLine(std::string_view label, std::int64_t decimal, std::int64_t hex) {
    line_.clear();
    vellumark::AppendNumberLine(line_, label, decimal, hex);
    sink_.Append(line_);
  }

  void AppendLine(std::string_view text, std::string_view more = {}) {
    line_.assign(text);
    line_ += more;
    line_ += report_text::kLineEnd;
    sink_.Append(line_);
  }

  BinaryFile& file_;
  ReportSink& sink_;
  const AcOption& showAcCodes_;
  std::string line_;  // reused, so a line costs no allocation
};

}  // namespace

std::string ReportCutLine(std::int64_t position) {
  std::string line;
  AppendNumberLine(line, report_text::kReportCut, position, position - 1);
  return line;
}

void WalkSegments(BinaryFile& file, ReportSink& sink, const AcOption& showAcCodes) {
  Walker(file, sink, showAcCodes).Run();
}

}  // namespace vellumark
