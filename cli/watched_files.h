#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vellumark {

// The disk as one job of a batch sees it: adds the bytes read to bytesRead, for
// the progress line, once per megabyte, so that threads seldom meet on that
// counter, and at the end.
class WatchedFiles : public FileSystem {
public:
  WatchedFiles(FileSystem& disk, std::atomic<std::uint64_t>& bytesRead) : disk_(disk), bytesRead_(bytesRead) {}
  ~WatchedFiles() override { bytesRead_ += unpublished_; }
  WatchedFiles(const WatchedFiles&) = delete;
  WatchedFiles& operator=(const WatchedFiles&) = delete;

  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override;
  void WriteText(const std::string& path, std::string_view utf8Text) override { disk_.WriteText(path, utf8Text); }

private:
  class Source;

  void CountRead(std::size_t bytes);

  FileSystem& disk_;
  std::atomic<std::uint64_t>& bytesRead_;
  std::uint64_t unpublished_ = 0;
};

}  // namespace vellumark
