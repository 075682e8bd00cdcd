#include "cli/folder_walk.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/path_separator.h"

namespace vellumark {

namespace {

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) {
    return false;
  }
  return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char lower, char c) { return lower == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
}

// The byte order of whole paths: a folder's name sorts as though it ended in
// "/", so folder "a" comes after file "a-b.jpg" and before "a0.jpg". Names in
// one folder differ, and none holds "/".
bool Before(const FolderEntry& a, const FolderEntry& b) {
  const std::size_t common = std::min(a.name.size(), b.name.size());
  if (const int order = a.name.compare(0, common, b.name, 0, common); order != 0) {
    return order < 0;
  }
  const auto after = [common](const FolderEntry& entry) -> int {
    if (common < entry.name.size()) {
      return static_cast<unsigned char>(entry.name[common]);
    }
    return entry.kind == EntryKind::Folder ? '/' : -1;
  };
  return after(a) < after(b);
}

bool IsWalked(const FolderEntry& entry) {
  return entry.kind == EntryKind::Folder || (entry.kind != EntryKind::Link && HasJpegName(entry.name));
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == kPathSeparator)) {
    return folder + name;
  }
  return folder + kPathSeparator + name;
}

}  // namespace

bool HasJpegName(std::string_view name) {
  constexpr std::array<std::string_view, 4> kExtensions{".jpg", ".jpeg", ".jpe", ".jfif"};
  return std::any_of(kExtensions.begin(), kExtensions.end(),
                     [name](std::string_view extension) { return EndsWithNoCase(name, extension); });
}

FolderWalk::FolderWalk(const std::string& root) { Enter(root); }

void FolderWalk::Enter(const std::string& path) {
  try {
    std::vector<FolderEntry> entries = ListFolder(path);
    std::erase_if(entries, [](const FolderEntry& entry) { return !IsWalked(entry); });
    std::sort(entries.begin(), entries.end(), Before);
    levels_.push_back({path, std::move(entries)});
  } catch (const RuntimeError& error) {
    unreadable_ = WalkItem{path, error};
  }
}

std::optional<WalkItem> FolderWalk::Next() {
  while (!unreadable_ && !levels_.empty()) {
    Level& level = levels_.back();
    if (level.next == level.entries.size()) {
      levels_.pop_back();
      continue;
    }
    const FolderEntry& entry = level.entries[level.next++];
    std::string path = Joined(level.path, entry.name);
    if (entry.kind != EntryKind::Folder) {
      return WalkItem{std::move(path), std::nullopt};
    }
    Enter(path);
  }
  return std::exchange(unreadable_, std::nullopt);
}

}  // namespace vellumark
