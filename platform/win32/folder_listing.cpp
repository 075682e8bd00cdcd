#include "platform/folder_listing.h"

#include <windows.h>

#include "platform/win32/utf16.h"
#include "platform/win32/win32_error.h"

namespace vellumark {

namespace {

struct FindHandle {
  HANDLE handle;
  ~FindHandle() {
    if (handle != INVALID_HANDLE_VALUE) {
      FindClose(handle);
    }
  }
};

// Symbolic links and junctions are links; other reparse points (files kept in
// the cloud, deduplicated files) are the files and folders they stand for.
EntryKind KindOf(const WIN32_FIND_DATAW& data) {
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (data.dwReserved0 == IO_REPARSE_TAG_SYMLINK || data.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT)) {
    return EntryKind::Link;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return EntryKind::Folder;
  }
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0 ? EntryKind::Other : EntryKind::File;
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::string& path) {
  std::wstring pattern = Utf16(path);
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW data{};
  const FindHandle find{FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH)};
  std::vector<FolderEntry> entries;
  if (find.handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A drive's root has no "." entry: an empty one finds nothing at all.
    if (error == ERROR_FILE_NOT_FOUND && IsFolder(path)) {
      return entries;
    }
    // The folder's own error, not its pattern's: a missing folder in an
    // existing one is "file not found", as on POSIX.
    if (GetFileAttributesW(Utf16(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      throw Win32Error(GetLastError());
    }
    throw Win32Error(error);
  }
  do {
    if (!IsDotOrDotDot(data.cFileName)) {
      entries.push_back({Utf8(data.cFileName), KindOf(data)});
    }
  } while (FindNextFileW(find.handle, &data) != FALSE);
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    throw Win32Error(GetLastError());
  }
  return entries;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace vellumark
