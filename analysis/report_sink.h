#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace vellumark {

// Where report text goes as it is produced: a string for the window, a stream for
// the command line.
class ReportSink {
public:
  virtual ~ReportSink() = default;
  virtual void Append(std::string_view text) = 0;
};

// Thrown by a sink that takes no more report: the walk stops where it is.
struct ReportFull {};

// The report in memory. With a limit, for a window that must stay usable
// whatever the file: the append that would pass it throws ReportFull, and after
// that one more append is taken, the line that says where the report was cut.
class StringReportSink : public ReportSink {
public:
  explicit StringReportSink(std::size_t limit = std::numeric_limits<std::size_t>::max()) : limit_(limit) {}
  void Append(std::string_view text) override {
    if (!full_ && text.size() > limit_ - text_.size()) {
      full_ = true;
      throw ReportFull{};
    }
    text_.append(text);
  }
  const std::string& Text() const { return text_; }
  std::string TakeText() { return std::move(text_); }

private:
  std::size_t limit_;
  std::string text_;
  bool full_ = false;
};

}  // namespace vellumark
