#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "analysis/report_sink.h"
#include "analysis/segment_detail.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace vellumark {

// A runtime error that stopped an analysis, with the read position at that
// moment where the file had been opened.
struct AnalysisFault {
  RuntimeError error;
  std::optional<std::int64_t> readPosition;
};

// Opens path read-only, writes its marker report to sink and closes it again on
// every path. Lines written before a fault stay written.
std::optional<AnalysisFault> AnalyseToReport(FileSystem& files, const std::string& path,
                                             ReportSink& sink, const AcOption& showAcCodes);

}  // namespace vellumark
