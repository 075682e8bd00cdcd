#pragma once

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

class StringReportSink : public ReportSink {
public:
  void Append(std::string_view text) override { text_.append(text); }
  const std::string& Text() const { return text_; }
  std::string TakeText() { return std::move(text_); }

private:
  std::string text_;
};

}  // namespace vellumark
