#include "cli/ordered_output.h"

#include <utility>

namespace vellumark {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
// Standard output is unbuffered, so that Ctrl+C loses no bytes in a C stream's
// buffer; the output gathers whole reports into writes of this size instead.
constexpr std::size_t kWriteSize = 256 * 1024;
// What keeping a finished job costs beyond its bytes.
constexpr std::size_t kFinishedOverhead = 256;

// Where Ctrl+C cuts output short: the rest of the open line, up to and with
// its LF, or all of bytes where none comes.
std::string_view UpToLineEnd(std::string_view bytes) {
  const std::size_t end = bytes.find('\n');
  return bytes.substr(0, end == std::string_view::npos ? end : end + 1);
}

}  // namespace

OrderedOutput::OrderedOutput(std::FILE* stream, std::function<void(std::string_view)> printError,
                             const std::atomic<bool>& interrupt, Bounds bounds)
    : stream_(stream), printError_(std::move(printError)), interrupt_(interrupt), bounds_(bounds) {}

bool OrderedOutput::WaitForRoom() {
  std::unique_lock lock(mutex_);
  while (finishedBytes_ > bounds_.finished && !interrupt_.load()) {
    changed_.Wait(lock);
  }
  return !interrupt_.load();
}

void OrderedOutput::Flush() {
  WriteOut();
  if (good_ && !FlushAll(stream_)) {
    good_ = false;
  }
}

bool OrderedOutput::WaitForTurn(std::uint64_t job) {
  std::unique_lock lock(mutex_);
  while (!IsTurn(job) && !interrupt_.load()) {
    changed_.Wait(lock);
  }
  return IsTurn(job);
}

void OrderedOutput::Write(std::string_view bytes) {
  unwritten_.append(bytes);
  if (unwritten_.size() >= kWriteSize) {
    WriteOut();
  }
}

void OrderedOutput::WriteOut() {
  if (good_ && !WriteAll(stream_, unwritten_)) {
    good_ = false;
  }
  unwritten_.clear();
}

std::size_t OrderedOutput::Charge(const Finished& output) {
  return output.bytes.size() + output.errorText.size() + kFinishedOverhead;
}

void OrderedOutput::Finish(std::uint64_t job, Finished output) {
  {
    const std::lock_guard lock(mutex_);
    if (!IsTurn(job)) {
      finishedBytes_ += Charge(output);
      finished_.emplace(job, std::move(output));
      return;
    }
  }
  if (WriteWaited(output.bytes)) {
    WriteErrorText(output.errorText);
    PassTurn(job + 1);
  }
}

bool OrderedOutput::WriteWaited(std::string_view bytes) {
  bool lineOpen = false;
  while (!bytes.empty()) {
    if (interrupt_.load()) {
      if (lineOpen) {
        Write(UpToLineEnd(bytes));
      }
      return false;
    }
    const std::string_view piece = bytes.substr(0, kBlockSize);
    Write(piece);
    lineOpen = piece.back() != '\n';
    bytes.remove_prefix(piece.size());
  }
  return true;
}

void OrderedOutput::WriteErrorText(const std::string& text) {
  if (!text.empty()) {
    Flush();
    printError_(text);
  }
}

void OrderedOutput::PassTurn(std::uint64_t job) {
  std::unique_lock lock(mutex_);
  for (;; ++job) {
    next_.store(job, std::memory_order_release);
    changed_.NotifyAll();
    const auto waiting = finished_.find(job);
    if (waiting == finished_.end() || interrupt_.load()) {
      return;
    }
    const Finished output = std::move(waiting->second);
    finished_.erase(waiting);
    finishedBytes_ -= Charge(output);
    lock.unlock();
    const bool whole = WriteWaited(output.bytes);
    if (whole) {
      WriteErrorText(output.errorText);
    }
    lock.lock();
    if (!whole) {
      return;
    }
  }
}

JobOutput::JobOutput(OrderedOutput& output, std::uint64_t job, OutputEncoding encoding, OnInterrupt onInterrupt)
    : output_(output), job_(job), encoding_(encoding), onInterrupt_(onInterrupt) {}

void JobOutput::Append(std::string_view text) {
  const bool interrupted = output_.interrupt_.load(std::memory_order_relaxed);
  if (interrupted) {
    text = TextBeforeStop(text);
  }
  pending_.append(text);
  if (!text.empty()) {
    lineOpen_ = text.back() != '\n';
  }
  if (pending_.size() >= kBlockSize) {
    Spill();
    // A long report goes on: room for its next block at once.
    pending_.reserve(kBlockSize);
  }
  if (interrupted && onInterrupt_ == OnInterrupt::EndLine && !lineOpen_) {
    Spill();
    throw OutputInterrupted{};
  }
}

void JobOutput::Finish(std::string errorText) {
  if (!pending_.empty()) {
    Spill();
  }
  if (!dropped_) {
    output_.Finish(job_, {std::move(kept_), std::move(errorText)});
  }
}

void JobOutput::Spill() {
  Send(Encoded(std::move(pending_), encoding_));
  pending_.clear();
}

void JobOutput::Send(std::string bytes) {
  if (dropped_) {
    return;
  }
  if (!streaming_ && output_.IsTurn(job_)) {
    StartStreaming();
  }
  if (streaming_) {
    output_.Write(bytes);
    return;
  }
  if (kept_.empty()) {
    kept_ = std::move(bytes);
  } else {
    kept_ += bytes;
  }
  if (kept_.size() > output_.bounds_.perJob) {
    if (!output_.WaitForTurn(job_)) {
      // Interrupted before its turn: this output would never be written.
      dropped_ = true;
      kept_.clear();
      return;
    }
    StartStreaming();
  }
}

void JobOutput::StartStreaming() {
  streaming_ = true;
  output_.Write(kept_);
  kept_ = std::string();
}

std::string_view JobOutput::TextBeforeStop(std::string_view text) {
  if (!dropped_ && !streaming_ && !output_.IsTurn(job_)) {
    // Its turn will not come: nothing after the interrupted job is written.
    dropped_ = true;
    kept_.clear();
  }
  if (dropped_) {
    if (onInterrupt_ == OnInterrupt::EndLine) {
      throw OutputInterrupted{};
    }
    return {};
  }
  if (onInterrupt_ == OnInterrupt::GoOn) {
    return text;
  }
  if (!lineOpen_) {
    return {};
  }
  return UpToLineEnd(text);
}

}  // namespace vellumark
