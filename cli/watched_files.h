#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vellumark {

// The disk as one job of a batch sees it: adds every byte read to bytesRead as
// it is read (for the progress line) and keeps the file open until the job
// asks about its size and its first two bytes (for the summary).
class WatchedFiles : public FileSystem {
public:
  WatchedFiles(FileSystem& disk, std::atomic<std::uint64_t>& bytesRead) : disk_(disk), bytesRead_(bytesRead) {}

  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override;
  void WriteText(const std::string& path, std::string_view utf8Text) override { disk_.WriteText(path, utf8Text); }

  // The size of the last file opened; 0 where none opened.
  std::int64_t Size() const { return source_ ? source_->Size() : 0; }
  // True when the last file opened begins with FF D8. Reads the two bytes
  // where the analysis has not; a failure to read them makes it false.
  bool BeginsWithSoi();

private:
  class Source;

  void NoteFirstBytes(std::uint8_t first, std::uint8_t second);

  FileSystem& disk_;
  std::atomic<std::uint64_t>& bytesRead_;
  std::shared_ptr<ByteSource> source_;
  std::optional<bool> beginsWithSoi_;  // once the first two bytes are seen
};

}  // namespace vellumark
