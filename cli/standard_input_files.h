#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/runtime_error.h"

namespace vellumark {

// A lone "-" names standard input, as it does for Unix filters; "./-" is a
// file called "-".
inline bool NamesStandardInput(std::string_view name) { return name == "-"; }

// The disk, and standard input under the name "-". Standard input cannot be
// read twice, nor at random places, so it is read whole into memory the first
// time it is named and held until the batch ends: every later "-" gets the
// same bytes.
class StandardInputFiles : public FileSystem {
public:
  explicit StandardInputFiles(FileSystem& disk) : disk_(disk) {}

  // Reads standard input to its end, the first time only; call it on the
  // thread that takes Ctrl+C, which ends the wait. False where it did. A
  // failed read throws RuntimeError, and so does every later call.
  bool Load(const std::atomic<bool>& interrupt);

  // "-" opens what Load read, and calls Load first where nothing has (which
  // only Ctrl+C's default ends); any other name is the disk's file. Threads
  // that share these files share them only once standard input is loaded.
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override;
  void WriteText(const std::string& path, std::string_view utf8Text) override { disk_.WriteText(path, utf8Text); }

private:
  FileSystem& disk_;
  std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
  std::optional<RuntimeError> failure_;
};

}  // namespace vellumark
