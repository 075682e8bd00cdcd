#pragma once

#include "cli/command_line.h"

namespace vellumark {

// Reports every file the options name — the file arguments, the folders
// walked with -r, the names of --files-from — on standard output in that
// order, with up to options.jobs files analysed at once. Returns the exit
// status.
int RunBatch(const CliOptions& options);

}  // namespace vellumark
