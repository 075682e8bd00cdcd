#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "analysis/report_sink.h"
#include "cli/polling_condition.h"
#include "cli/stream_sink.h"

namespace vellumark {

// Thrown by a job's output once Ctrl+C has stopped the work, to end the walk
// where it is; what the job wrote ends at a line end.
struct OutputInterrupted {};

// Standard output shared by jobs that analyse files at the same time. Jobs are
// numbered in the order of their files, and the bytes come out exactly as if
// each job ran after the one before: a job writes straight to the stream while
// it is the oldest unfinished one, and until then its output waits. Memory is
// bounded in bytes: a job whose waiting output passes perJob bytes waits for
// its turn and then streams, and no new job starts while finished output
// waiting for its turn passes finished bytes.
class OrderedOutput {
public:
  struct Bounds {
    std::size_t perJob;
    std::size_t finished;
  };

  // printError takes each job's standard error text, in job order, after its
  // standard output has been flushed.
  OrderedOutput(std::FILE* stream, std::function<void(std::string_view)> printError,
                const std::atomic<bool>& interrupt, Bounds bounds);

  // Waits while finished output passes its bound. False once interrupted.
  bool WaitForRoom();
  // False once a write to the stream has failed.
  bool Good() const { return good_; }
  void Flush();

private:
  friend class JobOutput;

  struct Finished {
    std::string bytes;
    std::string errorText;
  };

  // Waking costs a switch between threads: only waiting threads are woken.
  bool IsTurn(std::uint64_t job) const { return next_.load(std::memory_order_acquire) == job; }
  // False once interrupted.
  bool WaitForTurn(std::uint64_t job);
  // Only the job whose turn it is writes.
  void Write(std::string_view bytes);
  void WriteOut();
  void Finish(std::uint64_t job, Finished output);
  // Writes output that has waited for its turn; after Ctrl+C only up to the
  // end of the line being written. False where it was cut.
  bool WriteWaited(std::string_view bytes);
  void WriteErrorText(const std::string& text);
  // Hands the turn to job and on to every finished job after it.
  void PassTurn(std::uint64_t job);
  static std::size_t Charge(const Finished& output);

  std::FILE* stream_;
  std::string unwritten_;  // held by the job whose turn it is
  std::function<void(std::string_view)> printError_;
  const std::atomic<bool>& interrupt_;
  Bounds bounds_;
  std::atomic<bool> good_{true};
  std::atomic<std::uint64_t> next_{0};
  std::mutex mutex_;
  PollingCondition changed_;
  std::map<std::uint64_t, Finished> finished_;
  std::size_t finishedBytes_ = 0;
};

// One job's report sink. Text is converted to the output encoding in blocks,
// on the job's own thread.
class JobOutput : public ReportSink {
public:
  // What Ctrl+C does to the job whose turn it is: the text report stops at the
  // end of its line; JSON goes on, as its writer closes the object itself.
  enum class OnInterrupt { EndLine, GoOn };

  JobOutput(OrderedOutput& output, std::uint64_t job, OutputEncoding encoding, OnInterrupt onInterrupt);

  void Append(std::string_view text) override;
  // Ends the job: what it wrote goes out in turn, then errorText on standard
  // error (empty: none).
  void Finish(std::string errorText);

private:
  // Converts the pending text and sends it on.
  void Spill();
  void Send(std::string bytes);
  void StartStreaming();
  // After Ctrl+C: the part of text still to be written. Throws
  // OutputInterrupted where the text report ends at once.
  std::string_view TextBeforeStop(std::string_view text);

  OrderedOutput& output_;
  std::uint64_t job_;
  OutputEncoding encoding_;
  OnInterrupt onInterrupt_;
  std::string pending_;  // UTF-8, not yet converted
  std::string kept_;     // converted, waiting for the job's turn
  bool streaming_ = false;
  bool dropped_ = false;
  bool lineOpen_ = false;
};

}  // namespace vellumark
