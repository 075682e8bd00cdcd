#include "cli/watched_files.h"

#include <utility>

namespace vellumark {

namespace {
constexpr std::uint64_t kPublishedRead = 1 << 20;
}  // namespace

class WatchedFiles::Source : public ByteSource {
public:
  Source(std::unique_ptr<ByteSource> source, WatchedFiles& files) : source_(std::move(source)), files_(files) {}

  std::int64_t Size() const override { return source_->Size(); }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    const std::size_t got = source_->ReadAt(offset, dst);
    files_.CountRead(got);
    return got;
  }

private:
  std::unique_ptr<ByteSource> source_;
  WatchedFiles& files_;
};

std::unique_ptr<ByteSource> WatchedFiles::OpenRead(const std::string& path) {
  return std::make_unique<Source>(disk_.OpenRead(path), *this);
}

void WatchedFiles::CountRead(std::size_t bytes) {
  unpublished_ += bytes;
  if (unpublished_ >= kPublishedRead) {
    bytesRead_ += std::exchange(unpublished_, 0);
  }
}

}  // namespace vellumark
