#include "cli/watched_files.h"

#include <array>
#include <utility>

#include "analysis/marker_code.h"
#include "platform/runtime_error.h"

namespace vellumark {

namespace {
constexpr std::uint64_t kPublishedRead = 1 << 20;
}  // namespace

class WatchedFiles::Source : public ByteSource {
public:
  Source(std::shared_ptr<ByteSource> source, WatchedFiles& files) : source_(std::move(source)), files_(files) {}

  std::int64_t Size() const override { return source_->Size(); }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    const std::size_t got = source_->ReadAt(offset, dst);
    files_.CountRead(got);
    if (offset == 0 && got >= 2) {
      files_.NoteFirstBytes(dst[0], dst[1]);
    }
    return got;
  }

private:
  std::shared_ptr<ByteSource> source_;
  WatchedFiles& files_;
};

std::unique_ptr<ByteSource> WatchedFiles::OpenRead(const std::string& path) {
  source_.reset();
  beginsWithSoi_.reset();
  source_ = disk_.OpenRead(path);
  return std::make_unique<Source>(source_, *this);
}

void WatchedFiles::CountRead(std::size_t bytes) {
  unpublished_ += bytes;
  if (unpublished_ >= kPublishedRead) {
    bytesRead_ += std::exchange(unpublished_, 0);
  }
}

void WatchedFiles::NoteFirstBytes(std::uint8_t first, std::uint8_t second) {
  beginsWithSoi_ = first == marker::kPrefix && second == marker::kSoi;
}

bool WatchedFiles::BeginsWithSoi() {
  if (!beginsWithSoi_ && Size() >= 2) {
    std::array<std::uint8_t, 2> first{};
    try {
      if (source_->ReadAt(0, first) == first.size()) {
        NoteFirstBytes(first[0], first[1]);
      }
    } catch (const RuntimeError&) {
      return false;
    }
  }
  return beginsWithSoi_.value_or(false);
}

}  // namespace vellumark
