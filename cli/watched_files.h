#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vellumark {

// The disk as one job of a batch sees it: adds the bytes read to bytesRead (for
// the progress line: once per megabyte, so that threads seldom meet on that
// counter, and at the end) and keeps the file open until the job asks about
// its size and its first two bytes (for the summary).
class WatchedFiles : public FileSystem {
public:
  WatchedFiles(FileSystem& disk, std::atomic<std::uint64_t>& bytesRead) : disk_(disk), bytesRead_(bytesRead) {}
  ~WatchedFiles() override { bytesRead_ += unpublished_; }
  WatchedFiles(const WatchedFiles&) = delete;
  WatchedFiles& operator=(const WatchedFiles&) = delete;

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
  void CountRead(std::size_t bytes);

  FileSystem& disk_;
  std::atomic<std::uint64_t>& bytesRead_;
  std::uint64_t unpublished_ = 0;
  std::shared_ptr<ByteSource> source_;
  std::optional<bool> beginsWithSoi_;  // once the first two bytes are seen
};

}  // namespace vellumark
