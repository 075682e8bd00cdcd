#pragma once

#include <string>

#include "analysis/file_analysis.h"

namespace vellumark {

// "vellumark-report: PATH: DESCRIPTION (error N)", and "Seek: P" on a line of
// its own where the file was open: the lines standard error gets for a fault.
// For a folder named without -r the line adds " (use -r to walk folders)".
std::string FaultMessage(const std::string& path, const AnalysisFault& fault, bool unwalkedFolder = false);

}  // namespace vellumark
