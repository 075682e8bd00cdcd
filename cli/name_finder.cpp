#include "cli/name_finder.h"

#include <utility>

#include "cli/folder_walk.h"
#include "cli/name_list.h"
#include "platform/folder_listing.h"

namespace vellumark {

// The arguments, then the list's.
bool NameFinder::FindAll() {
  for (const std::string& name : options_.files) {
    if (!FindUnder(name)) {
      return false;
    }
  }
  return !options_.filesFrom || FindListed();
}

// Only the list's own faults are caught here: each file's stay in its job.
bool NameFinder::FindListed() {
  const auto separator = options_.nulSeparated ? NameList::Separator::Nul : NameList::Separator::LineEnd;
  try {
    NameList list(*options_.filesFrom, separator);
    while (const std::optional<std::string> name = list.Next(interrupt_)) {
      if (!FindUnder(*name)) {
        return false;
      }
    }
  } catch (const RuntimeError& error) {
    return Found(*options_.filesFrom, error);
  }
  return !interrupt_.load();
}

// A folder with -r is walked; any other name is analysed as it stands.
bool NameFinder::FindUnder(const std::string& name) {
  if (NamesStandardInput(name)) {
    return FindStandardInput(name);
  }
  if (!options_.recursive || !IsFolder(name)) {
    return Found(name, std::nullopt);
  }
  FolderWalk walk(name);
  while (std::optional<WalkItem> item = walk.Next()) {
    // Only a folder that could not be read comes with a fault.
    const bool amongFiles = item->fault.has_value();
    if (!Found(std::move(item->path), std::move(item->fault), amongFiles)) {
      return false;
    }
  }
  return true;
}

// Standard input is read here, so that Ctrl+C ends the wait for it. Where it
// holds the list, it holds no file.
bool NameFinder::FindStandardInput(const std::string& name) {
  if (options_.filesFrom && NamesStandardInput(*options_.filesFrom)) {
    return Found(name, MakeError(error_number::kPathFileAccess), true);
  }
  if (files_ == nullptr) {
    return Found(name, std::nullopt);
  }
  try {
    if (!files_->Load(interrupt_)) {
      return false;
    }
  } catch (const RuntimeError& error) {
    return Found(name, error, true);
  }
  return Found(name, std::nullopt);
}

bool NameFinder::Found(std::string path, std::optional<RuntimeError> fault, bool amongFiles) {
  return !interrupt_.load() && take_(Task{nextJob_++, std::move(path), std::move(fault), amongFiles});
}

}  // namespace vellumark
