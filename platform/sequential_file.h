#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace vellumark {

// A file or pipe read once from start to end in the pieces that arrive, such
// as a list of names that another program is still writing. Unlike
// FileSystem::OpenRead it takes pipes and waits for their writer.
class SequentialFile {
public:
  // Standard input.
  SequentialFile();
  // Failures throw RuntimeError.
  explicit SequentialFile(const std::string& path);
  ~SequentialFile();
  SequentialFile(const SequentialFile&) = delete;
  SequentialFile& operator=(const SequentialFile&) = delete;

  // Fills the start of dst with what has arrived, waiting only while nothing
  // has; 0 at the end. nullopt where a signal (Ctrl+C) ended the wait. A failed
  // read throws RuntimeError.
  std::optional<std::size_t> ReadSome(std::span<char> dst);

private:
  int fd_;
  bool owned_;
  std::string path_;
};

}  // namespace vellumark
