#pragma once

#include <cstdint>
#include <string>

#include "analysis/report_sink.h"
#include "analysis/segment_detail.h"
#include "platform/binary_file.h"

namespace vellumark {

// Walks an opened file marker by marker from its first byte and writes the
// marker report to sink. Damaged input ends the walk with a message line; a
// failing read throws RuntimeError with the lines so far already written.
void WalkSegments(BinaryFile& file, ReportSink& sink, const AcOption& showAcCodes);

// The line that ends a report cut short at the read position.
std::string ReportCutLine(std::int64_t position);

}  // namespace vellumark
