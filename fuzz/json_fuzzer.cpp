// The structure walk and its JSON line over a file held in memory. Every line
// must parse, be exactly the compact form a JSON library writes back, and its
// spans must tile the file. A memory file never fails, so a fault here is a
// read outside the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/json_report.h"
#include "tests/fakes/fake_platform.h"

// json_line_check.cpp: it parses, is the compact form and tiles the file.
bool JsonLineIsSound(const std::string& line);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vellumark::testing::FakeFileSystem files;
  files.files["in.jpg"].assign(data, data + size);
  vellumark::StringReportSink out;
  const vellumark::JsonOutcome outcome = vellumark::WriteStructureJson(files, "in.jpg", out);
  if (outcome.fault || !JsonLineIsSound(out.Text())) {
    std::abort();
  }
  return 0;
}
