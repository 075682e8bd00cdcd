#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_listing.h"
#include "platform/runtime_error.h"

namespace vellumark {

// True for names ending in .jpg, .jpeg, .jpe or .jfif, in any case.
bool HasJpegName(std::string_view name);

// One step of a walk: a JPEG file to analyse, or a folder that could not be
// read (with its fault).
struct WalkItem {
  std::string path;
  std::optional<RuntimeError> fault;
};

// The JPEG files in a folder and the folders below it, one at a time, in the
// byte order of their whole paths: each folder's entries are sorted by their
// names' bytes, a folder's name as if it ended in "/". Only the folders on the
// way down are held, never the whole tree. Links inside the walk are neither
// followed nor analysed, so a link loop ends nothing and repeats nothing.
class FolderWalk {
public:
  explicit FolderWalk(const std::string& root);

  std::optional<WalkItem> Next();

private:
  struct Level {
    std::string path;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
  };

  // Adds the folder's level; a folder that cannot be read is the next item.
  void Enter(const std::string& path);

  std::vector<Level> levels_;
  std::optional<WalkItem> unreadable_;
};

}  // namespace vellumark
