#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "analysis/file_analysis.h"
#include "platform/file_system.h"

namespace vellumark {

struct ExtractionOutcome {
  std::optional<AnalysisFault> fault;  // the file itself could not be read
  FileFacts file;
  std::string messages;                // a line for each picture not written
  bool failed = false;                 // some picture was not written
};

// Writes each picture inside path, and each inside those, into folder as
// BASENAME.OFFSET.ROLE.EXT: whole or not at all, never over a file that is
// there already, and not where the picture reaches past the file's end.
ExtractionOutcome ExtractImages(FileSystem& files, const std::string& path, const std::string& folder,
                                const std::atomic<bool>* interrupt = nullptr);

}  // namespace vellumark
