#include "cli/progress.h"

#include <cstdio>

#include "platform/interrupt.h"

namespace vellumark {

namespace {

constexpr auto kRefresh = std::chrono::milliseconds(100);

std::string Clock(double seconds) {
  const auto whole = static_cast<long long>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  }
  return text;
}

}  // namespace

std::string ProgressLine(const ProgressFigures& figures) {
  const bool seconds = figures.seconds > 0;
  const double rate = seconds ? static_cast<double>(figures.done) / figures.seconds : 0;
  const double megabytes = static_cast<double>(figures.bytesRead) / 1e6;
  const bool totalKnown = figures.allKnown || (figures.counted && *figures.counted >= figures.known);
  const std::uint64_t total = figures.allKnown || !totalKnown ? figures.known : *figures.counted;
  char text[160];
  std::snprintf(text, sizeof text, "%llu/%llu%s files, %.1f MB, %.1f MB/s, %.0f files/s",
                static_cast<unsigned long long>(figures.done), static_cast<unsigned long long>(total),
                totalKnown ? "" : "+", megabytes, seconds ? megabytes / figures.seconds : 0.0, rate);
  std::string line = text;
  if (totalKnown && rate > 0) {
    line += ", " + Clock(static_cast<double>(total - figures.done) / rate) + " left";
  }
  return line;
}

Progress::Progress(const BatchCounts& counts, bool show, bool timed, OutputEncoding encoding)
    : counts_(counts), shown_(show), encoding_(encoding) {
  if (show || timed) {
    start_ = std::chrono::steady_clock::now();
  }
  if (show) {
    thread_ = StartThreadWithoutInterrupt([this] { Run(); });
  }
}

Progress::~Progress() { Stop(); }

void Progress::Print(std::string_view text) {
  const std::lock_guard lock(mutex_);
  Clear();
  WriteAll(stderr, Encoded(std::string(text), encoding_));
}

void Progress::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    Clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

double Progress::Seconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Progress::Run() {
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, kRefresh, [this] { return stopping_; })) {
    Draw();
  }
}

// The new line covers the old one; spaces cover what was longer.
void Progress::Draw() {
  ProgressFigures figures{counts_.done.load(), counts_.known.load(), counts_.allKnown.load(),
                          std::nullopt,       counts_.bytesRead.load(), Seconds()};
  if (counts_.allCounted.load()) {
    figures.counted = counts_.counted.load();
  }
  const std::string line = ProgressLine(figures);
  std::string text = "\r" + line;
  text.append(drawnWidth_ > line.size() ? drawnWidth_ - line.size() : 0, ' ');
  text += '\r';
  WriteAll(stderr, text);
  drawnWidth_ = line.size();
}

void Progress::Clear() {
  if (drawnWidth_ > 0) {
    std::string blank(drawnWidth_ + 2, ' ');
    blank.front() = '\r';
    blank.back() = '\r';
    WriteAll(stderr, blank);
    drawnWidth_ = 0;
  }
}

}  // namespace vellumark
