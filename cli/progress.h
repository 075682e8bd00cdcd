#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "cli/stream_sink.h"

namespace vellumark {

// What a batch has got through so far, counted by every thread.
struct BatchCounts {
  std::atomic<std::uint64_t> known{0};  // names found
  std::atomic<bool> allKnown{false};    // the last name has been found
  std::atomic<std::uint64_t> counted{0};  // every name, counted ahead of the finding
  std::atomic<bool> allCounted{false};    // counted holds the count
  std::atomic<std::uint64_t> done{0};     // files finished
  std::atomic<std::uint64_t> bytesRead{0};
};

// The counts at one moment, as the progress line shows them.
struct ProgressFigures {
  std::uint64_t done = 0;
  std::uint64_t known = 0;
  bool allKnown = false;
  std::optional<std::uint64_t> counted;  // once counted ahead
  std::uint64_t bytesRead = 0;
  double seconds = 0;
};

// "120/5000 files, 3.4 MB, 1.7 MB/s, 850 files/s, 0:05 left". The total is
// the names found once all are, or before that their count ahead; until one
// is known, or where more names have been found than were counted (files
// added meanwhile), a "+" follows the names found so far and no time is told.
std::string ProgressLine(const ProgressFigures& figures);

// Standard error while a batch runs. With show, a progress line is drawn and
// redrawn at most ten times a second until Stop; an error line clears it first
// and it is drawn again at the next tick, so the two never mix.
class Progress {
public:
  // timed: Seconds() will be asked for. The clock is read only where it is
  // needed: its first reading costs a one-file run more than a system call.
  Progress(const BatchCounts& counts, bool show, bool timed, OutputEncoding encoding);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Whole lines of UTF-8 text.
  void Print(std::string_view text);
  // Stops the drawing and clears the line.
  void Stop();
  double Seconds() const;
  // Whether the line is drawn.
  bool Shown() const { return shown_; }

private:
  void Run();
  void Draw();
  void Clear();

  const BatchCounts& counts_;
  bool shown_;
  OutputEncoding encoding_;
  std::chrono::steady_clock::time_point start_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::size_t drawnWidth_ = 0;
  std::thread thread_;
};

}  // namespace vellumark
