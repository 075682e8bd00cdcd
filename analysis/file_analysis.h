#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "analysis/report_sink.h"
#include "analysis/segment_detail.h"
#include "analysis/thumbnail_search.h"
#include "platform/binary_file.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace vellumark {

// A runtime error that stopped the work on a file, with the read position at
// that moment where the file had been opened.
struct AnalysisFault {
  RuntimeError error;
  std::optional<std::int64_t> readPosition;
};

// What a batch totals of each file its analysis opened.
struct FileFacts {
  std::int64_t size = 0;
  bool jpeg = false;  // the file begins with FF D8
};

// Read from a file just opened, before its walk: the first two bytes come from
// the buffer the walk then reads on. A failure to read them leaves jpeg false;
// the walk meets the same failure at the same place and reports it.
[[nodiscard]] FileFacts ReadFileFacts(BinaryFile& file);

// Opens path read-only, runs work on it and closes it again on every path.
[[nodiscard]] std::optional<AnalysisFault> WithOpenFile(FileSystem& files, const std::string& path,
                                                        const std::function<void(BinaryFile&)>& work);

// The same for whatever bytes open gives: a file, or a picture inside one.
using SourceOpener = std::function<std::unique_ptr<ByteSource>()>;
[[nodiscard]] std::optional<AnalysisFault> WithOpenSource(const SourceOpener& open,
                                                          const std::function<void(BinaryFile&)>& work);

// Writes the marker report of path to sink. Lines written before a fault stay.
// Where facts is given, it receives those of the file once opened.
[[nodiscard]] std::optional<AnalysisFault> AnalyseToReport(FileSystem& files, const std::string& path,
                                                           ReportSink& sink, const AcOption& showAcCodes,
                                                           FileFacts* facts = nullptr);

struct ThumbnailOutcome {
  ThumbnailAnswer answer;
  std::optional<AnalysisFault> fault;
};

// The thumbnail search over path. A fault keeps whatever was found before it.
[[nodiscard]] ThumbnailOutcome SearchFileForThumbnail(FileSystem& files, const std::string& path);

}  // namespace vellumark
