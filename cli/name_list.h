#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "platform/sequential_file.h"

namespace vellumark {

// File names read from a list one at a time, as find writes them: one per line
// (a CR before the LF belongs to the line end) or, for find -print0, each
// ended by a NUL byte. Empty names are skipped. Only one block of the list is
// held at a time, so a list of any length reads in constant memory, and names
// are handed on as soon as they arrive.
class NameList {
public:
  enum class Separator { LineEnd, Nul };

  // "-" is standard input. A list that cannot be opened throws RuntimeError.
  NameList(const std::string& path, Separator separator);

  // The next name; nullopt at the end of the list, or once interrupt is set
  // while the list is waited for. A failed read throws RuntimeError.
  std::optional<std::string> Next(const std::atomic<bool>& interrupt);

private:
  // The bytes up to the next separator; nullopt where the list has ended.
  std::optional<std::string> ReadToSeparator(const std::atomic<bool>& interrupt);
  // False at the end of the list.
  bool Refill(const std::atomic<bool>& interrupt);

  std::unique_ptr<SequentialFile> file_;
  char separator_;
  std::string block_;
  std::size_t position_ = 0;
};

}  // namespace vellumark
