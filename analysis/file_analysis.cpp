#include "analysis/file_analysis.h"

#include <memory>
#include <new>
#include <span>

#include "analysis/marker_code.h"
#include "analysis/segment_walker.h"

namespace vellumark {

FileFacts ReadFileFacts(BinaryFile& file) {
  FileFacts facts{file.Length(), false};
  try {
    const std::span<const std::uint8_t> first = file.Peek(2);
    facts.jpeg = first.size() >= 2 && first[0] == marker::kPrefix && first[1] == marker::kSoi;
  } catch (const RuntimeError&) {
    // Not known to be a JPEG file.
  }
  return facts;
}

std::optional<AnalysisFault> WithOpenFile(FileSystem& files, const std::string& path,
                                          const std::function<void(BinaryFile&)>& work) {
  return WithOpenSource([&] { return files.OpenRead(path); }, work);
}

std::optional<AnalysisFault> WithOpenSource(const SourceOpener& open, const std::function<void(BinaryFile&)>& work) {
  std::unique_ptr<BinaryFile> file;
  auto where = [&]() -> std::optional<std::int64_t> {
    if (file) {
      return file->Seek();
    }
    return std::nullopt;
  };
  try {
    file = std::make_unique<BinaryFile>(open());
    work(*file);
  } catch (const RuntimeError& error) {
    return AnalysisFault{error, where()};
  } catch (const std::bad_alloc&) {
    return AnalysisFault{MakeError(error_number::kOutOfMemory), where()};
  }
  return std::nullopt;
}

std::optional<AnalysisFault> AnalyseToReport(FileSystem& files, const std::string& path,
                                             ReportSink& sink, const AcOption& showAcCodes, FileFacts* facts) {
  return WithOpenFile(files, path, [&](BinaryFile& file) {
    if (facts != nullptr) {
      *facts = ReadFileFacts(file);
    }
    try {
      WalkSegments(file, sink, showAcCodes);
    } catch (const ReportFull&) {
      sink.Append(ReportCutLine(file.Seek()));
    }
  });
}

ThumbnailOutcome SearchFileForThumbnail(FileSystem& files, const std::string& path) {
  ThumbnailOutcome outcome;
  outcome.fault =
      WithOpenFile(files, path, [&](BinaryFile& file) { FindJfifThumbnail(file, outcome.answer); });
  return outcome;
}

}  // namespace vellumark
