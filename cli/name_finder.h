#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/standard_input_files.h"
#include "platform/runtime_error.h"

namespace vellumark {

// One file to analyse, numbered in the order of the names; or a folder or list
// that could not be read, reported in its place.
struct Task {
  std::uint64_t job;
  std::string path;
  std::optional<RuntimeError> fault;
  // A folder or standard input stands among the files, so JSON gives it a
  // file's line; a list does not.
  bool amongFiles = false;
};

// Finds every name the options give, in order — the FILEs, the files below
// the folders walked with -r, the names of --files-from — and hands each on
// as a task. Runs on the thread that takes Ctrl+C, so that Ctrl+C ends a wait
// for a list or standard input that arrives slowly.
class NameFinder {
public:
  // Takes a task on; false where the batch stops.
  using Take = std::function<bool(Task)>;

  // Without files, a "-" among the FILEs is handed on unread: standard input
  // can be read only once, and counting the names ahead must not take it.
  NameFinder(const CliOptions& options, StandardInputFiles* files, const std::atomic<bool>& interrupt, Take take)
      : options_(options), files_(files), interrupt_(interrupt), take_(std::move(take)) {}

  // True where every name was found and taken.
  bool FindAll();

private:
  bool FindListed();
  bool FindUnder(const std::string& name);
  bool FindStandardInput(const std::string& name);
  bool Found(std::string path, std::optional<RuntimeError> fault, bool amongFiles = false);

  const CliOptions& options_;
  StandardInputFiles* files_;
  const std::atomic<bool>& interrupt_;
  Take take_;
  std::uint64_t nextJob_ = 0;
};

}  // namespace vellumark
