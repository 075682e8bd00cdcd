#include "platform/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "platform/runtime_error.h"

namespace vellumark {

namespace {

struct CloseFolder {
  void operator()(DIR* folder) const { ::closedir(folder); }
};

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) {
    return EntryKind::File;
  }
  if (S_ISDIR(mode)) {
    return EntryKind::Folder;
  }
  return S_ISLNK(mode) ? EntryKind::Link : EntryKind::Other;
}

// Most file systems tell the kind in the entry itself; the others need a look
// at the entry, which must not follow a link.
EntryKind KindOf(DIR* folder, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Link;
    case DT_UNKNOWN: break;
    default: return EntryKind::Other;
  }
  struct stat st {};
  if (::fstatat(::dirfd(folder), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return EntryKind::Other;
  }
  return KindOfMode(st.st_mode);
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& path) {
  const std::unique_ptr<DIR, CloseFolder> folder(::opendir(path.c_str()));
  if (!folder) {
    throw SystemError(errno, path);
  }
  std::vector<FolderEntry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(folder.get());
    if (entry == nullptr) {
      break;
    }
    if (!IsDotOrDotDot(entry->d_name)) {
      entries.push_back({entry->d_name, KindOf(folder.get(), *entry)});
    }
  }
  if (errno != 0) {
    throw SystemError(errno, path);
  }
  return entries;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsPlainFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace vellumark
