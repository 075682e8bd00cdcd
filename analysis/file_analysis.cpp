#include "analysis/file_analysis.h"

#include <memory>
#include <new>

#include "analysis/segment_walker.h"
#include "platform/binary_file.h"

namespace vellumark {

std::optional<AnalysisFault> AnalyseToReport(FileSystem& files, const std::string& path,
                                             ReportSink& sink, const AcOption& showAcCodes) {
  std::unique_ptr<BinaryFile> file;
  auto where = [&]() -> std::optional<std::int64_t> {
    if (file) {
      return file->Seek();
    }
    return std::nullopt;
  };
  try {
    file = std::make_unique<BinaryFile>(files.OpenRead(path));
    WalkSegments(*file, sink, showAcCodes);
  } catch (const RuntimeError& error) {
    return AnalysisFault{error, where()};
  } catch (const std::bad_alloc&) {
    return AnalysisFault{MakeError(error_number::kOutOfMemory), where()};
  }
  return std::nullopt;
}

}  // namespace vellumark
