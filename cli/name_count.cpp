#include "cli/name_count.h"

#include "cli/name_finder.h"
#include "cli/standard_input_files.h"
#include "platform/folder_listing.h"
#include "platform/interrupt.h"

namespace vellumark {

bool NamesComeAsFound(const CliOptions& options) { return options.recursive || options.filesFrom.has_value(); }

std::optional<std::uint64_t> CountNames(const CliOptions& options, const std::atomic<bool>& stop) {
  if (options.filesFrom && (NamesStandardInput(*options.filesFrom) || !IsPlainFile(*options.filesFrom))) {
    return std::nullopt;
  }
  std::uint64_t count = 0;
  NameFinder finder(options, nullptr, stop, [&count](const Task&) {
    ++count;
    return true;
  });
  if (!finder.FindAll()) {
    return std::nullopt;
  }
  return count;
}

NameCountAhead::NameCountAhead(const CliOptions& options, BatchCounts& counts)
    : thread_(StartThreadWithoutInterrupt([this, &options, &counts] {
        if (const std::optional<std::uint64_t> count = CountNames(options, stop_)) {
          counts.counted = *count;
          counts.allCounted = true;
        }
      })) {}

NameCountAhead::~NameCountAhead() {
  stop_ = true;
  thread_.join();
}

}  // namespace vellumark
