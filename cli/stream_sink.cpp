#include "cli/stream_sink.h"

#include "platform/ansi_text.h"

namespace vellumark {

namespace {
constexpr std::size_t kBlockSize = 256 * 1024;
}  // namespace

void StreamSink::Append(std::string_view text) {
  pending_.append(text);
  if (pending_.size() >= kBlockSize) {
    Flush();
  }
}

void StreamSink::Flush() {
  if (!pending_.empty() && good_) {
    const std::string bytes = encoding_ == OutputEncoding::Gbk ? ToAnsiCodePage(pending_) : pending_;
    good_ = std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
  }
  pending_.clear();
  if (good_) {
    good_ = std::fflush(stream_) == 0;
  }
}

}  // namespace vellumark
