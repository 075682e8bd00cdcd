// The JSON line of --json --check over a file held in memory: every scan's
// data decoded. The line must pass json_fuzzer's checks, and its counts must
// hold together (check_line_check.cpp). A slow input shows as a libFuzzer
// timeout: fuzz/run.sh and the long runs pass -timeout.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/json_report.h"
#include "tests/fakes/fake_platform.h"

// check_line_check.cpp: JsonLineIsSound, and "check" present with counts that agree.
bool CheckLineIsSound(const std::string& line);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vellumark::testing::FakeFileSystem files;
  files.files["in.jpg"].assign(data, data + size);
  vellumark::StringReportSink out;
  const vellumark::JsonOutcome outcome =
      vellumark::WriteStructureJson(files, "in.jpg", out, nullptr, /*check=*/true);
  if (outcome.fault || !CheckLineIsSound(out.Text())) {
    std::abort();
  }
  return 0;
}
