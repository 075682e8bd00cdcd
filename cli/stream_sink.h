#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "analysis/report_sink.h"

namespace vellumark {

enum class OutputEncoding { Utf8, Gbk };

// utf8 as the bytes of the output encoding; UTF-8 itself is handed on as it is.
std::string Encoded(std::string utf8, OutputEncoding encoding);

// Writes or flushes the whole of it, whatever signals arrive meanwhile. False
// where the stream refuses.
bool WriteAll(std::FILE* stream, std::string_view bytes);
bool FlushAll(std::FILE* stream);

// Report text to a C stream, buffered and converted in large blocks, so a report
// of any size streams through in constant memory. Text is only ever cut between
// two Append calls, which never splits a character.
class StreamSink : public ReportSink {
public:
  StreamSink(std::FILE* stream, OutputEncoding encoding) : stream_(stream), encoding_(encoding) {}
  ~StreamSink() override { Flush(); }
  StreamSink(const StreamSink&) = delete;
  StreamSink& operator=(const StreamSink&) = delete;

  void Append(std::string_view text) override;
  void Flush();
  // False once a write to the stream has failed.
  bool Good() const { return good_; }

private:
  std::FILE* stream_;
  OutputEncoding encoding_;
  std::string pending_;
  bool good_ = true;
};

}  // namespace vellumark
