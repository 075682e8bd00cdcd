#include "cli/stream_sink.h"

#include <cerrno>

#include "platform/ansi_text.h"

namespace vellumark {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}  // namespace

// Two returns, not a conditional operator: that would copy utf8 where it can
// be moved.
std::string Encoded(std::string utf8, OutputEncoding encoding) {
  if (encoding == OutputEncoding::Gbk) {
    return ToAnsiCodePage(utf8);
  }
  return utf8;
}

// Ctrl+C interrupts a write that waits on a pipe or terminal; that is no
// reason to lose the rest of the bytes.
bool WriteAll(std::FILE* stream, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stream);
    bytes.remove_prefix(written);
    if (!bytes.empty()) {
      if (std::ferror(stream) == 0 || errno != EINTR) {
        return false;
      }
      std::clearerr(stream);
    }
  }
  return true;
}

bool FlushAll(std::FILE* stream) {
  while (std::fflush(stream) != 0) {
    if (std::ferror(stream) == 0 || errno != EINTR) {
      return false;
    }
    std::clearerr(stream);
  }
  return true;
}

void StreamSink::Append(std::string_view text) {
  pending_.append(text);
  if (pending_.size() >= kBlockSize) {
    Flush();
  }
}

void StreamSink::Flush() {
  if (!pending_.empty() && good_) {
    good_ = WriteAll(stream_, Encoded(std::move(pending_), encoding_));
  }
  pending_.clear();
  if (good_) {
    good_ = FlushAll(stream_);
  }
}

}  // namespace vellumark
