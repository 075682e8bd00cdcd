// The marker report, table detail included, over a file held in memory.
//
// Input: byte 0 sets the AC option (its lowest bit), the rest is the file. A
// memory file never fails, so any RuntimeError here is a read outside the file;
// it is left uncaught for libFuzzer to report.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "analysis/report_sink.h"
#include "analysis/segment_walker.h"
#include "platform/binary_file.h"
#include "platform/memory_byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const bool showAcCodes = (data[0] & 1) != 0;
  vellumark::BinaryFile file(
      std::make_unique<vellumark::MemoryByteSource>(std::vector<std::uint8_t>(data + 1, data + size)));
  vellumark::StringReportSink sink;
  vellumark::WalkSegments(file, sink, [showAcCodes] { return showAcCodes; });
  // Every report line ends with CR LF, so a report that does not is broken text.
  if (!sink.Text().ends_with("\r\n")) {
    std::abort();
  }
  return 0;
}
