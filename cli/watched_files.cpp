#include "cli/watched_files.h"

#include <array>

#include "platform/runtime_error.h"

namespace vellumark {

namespace {
constexpr int kSoi = 0xFFD8;
}  // namespace

class WatchedFiles::Source : public ByteSource {
public:
  Source(std::shared_ptr<ByteSource> source, WatchedFiles& files) : source_(std::move(source)), files_(files) {}

  std::int64_t Size() const override { return source_->Size(); }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    const std::size_t got = source_->ReadAt(offset, dst);
    files_.bytesRead_ += got;
    if (offset == 0 && got >= 2) {
      files_.firstBytes_ = dst[0] << 8 | dst[1];
    }
    return got;
  }

private:
  std::shared_ptr<ByteSource> source_;
  WatchedFiles& files_;
};

std::unique_ptr<ByteSource> WatchedFiles::OpenRead(const std::string& path) {
  source_.reset();
  firstBytes_ = -1;
  source_ = disk_.OpenRead(path);
  return std::make_unique<Source>(source_, *this);
}

bool WatchedFiles::BeginsWithSoi() {
  if (firstBytes_ < 0 && Size() >= 2) {
    std::array<std::uint8_t, 2> first{};
    try {
      if (source_->ReadAt(0, first) == first.size()) {
        firstBytes_ = first[0] << 8 | first[1];
      }
    } catch (const RuntimeError&) {
      return false;
    }
  }
  return firstBytes_ == kSoi;
}

}  // namespace vellumark
