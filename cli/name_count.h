#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

#include "cli/command_line.h"
#include "cli/progress.h"

namespace vellumark {

// Whether a batch finds its names as it goes (-r or a list), so that its total
// is known only at the end unless counted ahead.
bool NamesComeAsFound(const CliOptions& options);

// How many tasks the batch's NameFinder will hand on, found the same way and
// none kept: the folders walked and the list read once more, a "-" among the
// FILEs counted unread. nullopt where stop was set first, or where the list is
// standard input or a pipe, which can be read only once.
std::optional<std::uint64_t> CountNames(const CliOptions& options, const std::atomic<bool>& stop);

// Counts the names on a thread of its own, while the batch finds and analyses
// them, and gives the count to counts for the progress line.
class NameCountAhead {
public:
  NameCountAhead(const CliOptions& options, BatchCounts& counts);
  // Stops the count where it still runs.
  ~NameCountAhead();
  NameCountAhead(const NameCountAhead&) = delete;
  NameCountAhead& operator=(const NameCountAhead&) = delete;

private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vellumark
