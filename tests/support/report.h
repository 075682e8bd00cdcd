#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/file_analysis.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// Report text from its lines: each line ends with CR LF.
inline std::string Lines(const std::vector<std::string_view>& lines) {
  std::string text;
  for (const std::string_view line : lines) {
    text.append(line).append("\r\n");
  }
  return text;
}

struct Analysis {
  std::string report;
  std::optional<AnalysisFault> fault;
};

// The report of a file held in memory, as the window would show it after Open.
inline Analysis AnalyseBytes(const Bytes& file, bool showAcCodes = false) {
  FakeFileSystem files;
  files.files["in.jpg"] = file;
  StringReportSink sink;
  auto fault = AnalyseToReport(files, "in.jpg", sink, [showAcCodes] { return showAcCodes; });
  return {sink.TakeText(), std::move(fault)};
}

}  // namespace vellumark::testing
