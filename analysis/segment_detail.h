#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "analysis/report_sink.h"

namespace vellumark {

// Whether the codes of AC Huffman tables are listed. Asked once for every DHT
// table whose symbols were read, so the answer is the one in force at that
// moment.
using AcOption = std::function<bool()>;

// Appends the detail of one segment: the DHT or DQT tables it holds, then one
// line end. For any other marker only the line end. segment holds the segment
// from its first length byte on, as far as the file has it.
void ShowSegmentDetail(std::uint8_t code, std::span<const std::uint8_t> segment,
                       const AcOption& showAcCodes, ReportSink& sink);

}  // namespace vellumark
