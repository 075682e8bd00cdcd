#pragma once

#include <string>
#include <vector>

namespace vellumark {

// What a folder entry is, as the folder itself says, without following links.
enum class EntryKind { File, Folder, Link, Other };

struct FolderEntry {
  std::string name;  // UTF-8, no folder part
  EntryKind kind;
};

// The entries of the folder at path, "." and ".." left out, in the order the
// system gives them. Failures throw RuntimeError, as opening a file does.
std::vector<FolderEntry> ListFolder(const std::string& path);

// True when path names a folder, through links; false for anything else,
// including a name that does not exist.
bool IsFolder(const std::string& path);

// True when path names a plain file, through links, which can be read more
// than once; false for a folder, a pipe, a device or a name that does not exist.
bool IsPlainFile(const std::string& path);

}  // namespace vellumark
