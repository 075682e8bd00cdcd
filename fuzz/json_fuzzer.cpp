// The structure walk and its JSON line over a file held in memory. Every line
// must parse, be exactly the compact form a JSON library writes back, and its
// spans must tile the file. A memory file never fails, so a fault here is a
// read outside the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cli/json_report.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/json_structure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vellumark::testing::FakeFileSystem files;
  files.files["in.jpg"].assign(data, data + size);
  vellumark::StringReportSink out;
  const vellumark::JsonOutcome outcome = vellumark::WriteStructureJson(files, "in.jpg", out);
  if (outcome.fault || !vellumark::testing::JsonLineFault(out.Text()).empty()) {
    std::abort();
  }
  return 0;
}
