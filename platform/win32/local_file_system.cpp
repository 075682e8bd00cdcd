#include "platform/local_file_system.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/ansi_text.h"
#include "platform/folder_listing.h"
#include "platform/runtime_error.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_error.h"

namespace vellumark {

namespace {

class Handle {
public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  // Returns CloseHandle's own result: a failed close can mean unwritten data.
  bool Close() {
    const bool closed = !Valid() || CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

private:
  HANDLE handle_;
};

// Names arrive in UTF-8 and go to the system in UTF-16, so names in any script
// open, whatever the ANSI code page.
std::wstring CheckedName(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    throw MakeError(error_number::kBadFileName);
  }
  return Utf16(path);
}

// A folder refuses CreateFile with "access denied"; it is not a file, which is
// what the POSIX build says as well.
RuntimeError OpenError(DWORD code, const std::string& path) {
  if (code == ERROR_ACCESS_DENIED && IsFolder(path)) {
    return MakeError(error_number::kPathFileAccess);
  }
  return Win32Error(code);
}

class Win32ByteSource : public ByteSource {
public:
  Win32ByteSource(HANDLE handle, std::int64_t size) : handle_(handle), size_(size) {}

  std::int64_t Size() const override { return size_; }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    std::size_t done = 0;
    while (done < dst.size()) {
      const auto at = static_cast<std::uint64_t>(offset) + done;
      OVERLAPPED where{};
      where.Offset = static_cast<DWORD>(at);
      where.OffsetHigh = static_cast<DWORD>(at >> 32);
      const auto ask = static_cast<DWORD>(std::min<std::size_t>(dst.size() - done, 1U << 30));
      DWORD got = 0;
      if (ReadFile(handle_.Get(), dst.data() + done, ask, &got, &where) == FALSE) {
        const DWORD code = GetLastError();
        if (code == ERROR_HANDLE_EOF) {
          break;
        }
        throw Win32Error(code);
      }
      if (got == 0) {
        break;
      }
      done += got;
    }
    return done;
  }

private:
  Handle handle_;
  std::int64_t size_;
};

// The checks a plain overwrite would have made: a folder or a read-only file of
// that name is refused, even though replacing it might succeed. Returns whether
// the file is there.
bool CheckTarget(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) {
      throw Win32Error(code);
    }
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw MakeError(error_number::kPathFileAccess);
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw MakeError(error_number::kAccessDenied);
  }
  return true;
}

// How many names the file has; a new file would take only one of them.
DWORD LinksOf(const std::wstring& target) {
  Handle file(CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file.Valid() || GetFileInformationByHandle(file.Get(), &information) == FALSE) {
    throw Win32Error(GetLastError());
  }
  return information.nNumberOfLinks;
}

// The new text goes to a file of its own beside the target, removed again
// unless Keep() is called once it has replaced the target. Made() is false
// where the folder took no new file; Error() says why.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::wstring& target) : handle_(INVALID_HANDLE_VALUE) {
    for (unsigned attempt = 0; attempt < 100 && !handle_.Valid(); ++attempt) {
      name_ = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp";
      handle_.Reset(CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      error_ = handle_.Valid() ? ERROR_SUCCESS : GetLastError();
      if (error_ != ERROR_SUCCESS && error_ != ERROR_FILE_EXISTS) {
        break;
      }
    }
  }
  ~TemporaryFile() {
    handle_.Close();
    if (Made() && !kept_) {
      DeleteFileW(name_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Made() const { return error_ == ERROR_SUCCESS; }
  DWORD Error() const { return error_; }
  HANDLE Get() const { return handle_.Get(); }
  bool Close() { return handle_.Close(); }
  const std::wstring& Name() const { return name_; }
  void Keep() { kept_ = true; }

private:
  std::wstring name_;
  Handle handle_;
  DWORD error_ = ERROR_SUCCESS;
  bool kept_ = false;
};

void WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
    DWORD written = 0;
    if (WriteFile(handle, bytes.data(), ask, &written, nullptr) == FALSE) {
      throw Win32Error(GetLastError());
    }
    bytes.remove_prefix(written);
  }
}

// A folder that is read-only to this user, or on a write-protected medium, may
// still hold files that can be written where they are.
bool RefusesNewFiles(DWORD code) { return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT; }

// ReplaceFileW keeps the old file's identity, attributes and access control
// list. The old file is kept under a name of its own until the new one is in
// place, so that no failure on the way loses it. Returns false, with both files
// as they were, where the old file may not be removed (it may still be
// written).
bool ReplaceWith(const std::wstring& target, const TemporaryFile& temp) {
  const std::wstring backup = temp.Name() + L".old";
  if (ReplaceFileW(target.c_str(), temp.Name().c_str(), backup.c_str(), 0, nullptr, nullptr) == FALSE) {
    const DWORD code = GetLastError();
    if (code == ERROR_UNABLE_TO_REMOVE_REPLACED || code == ERROR_ACCESS_DENIED) {
      return false;
    }
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
      MoveFileExW(backup.c_str(), target.c_str(), 0);
    }
    throw Win32Error(code);
  }
  DeleteFileW(backup.c_str());
  return true;
}

// Writes the whole text to a new file that then takes the target's place, so a
// failure leaves the old file whole. Returns false, having changed nothing,
// where a new file would not be what the old one was: a file with other links,
// in a folder that takes no new file, or one that may be written but not
// replaced.
bool ReplaceThroughTemporaryFile(const std::wstring& target, bool exists, std::string_view bytes) {
  if (exists && LinksOf(target) > 1) {
    return false;
  }
  TemporaryFile temp(target);
  if (!temp.Made()) {
    if (exists && RefusesNewFiles(temp.Error())) {
      return false;
    }
    throw Win32Error(temp.Error());
  }
  WriteAll(temp.Get(), bytes);
  if (FlushFileBuffers(temp.Get()) == FALSE || !temp.Close()) {
    throw Win32Error(GetLastError());
  }
  if (exists) {
    if (!ReplaceWith(target, temp)) {
      return false;
    }
  } else if (MoveFileExW(temp.Name().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ==
             FALSE) {
    throw Win32Error(GetLastError());
  }
  temp.Keep();
  return true;
}

// Truncates the file and writes it where it is: it keeps its identity and
// links, but a failure midway leaves it incomplete.
void WriteInPlace(const std::wstring& target, std::string_view bytes) {
  Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    throw Win32Error(GetLastError());
  }
  WriteAll(file.Get(), bytes);
  if (FlushFileBuffers(file.Get()) == FALSE || !file.Close()) {
    throw Win32Error(GetLastError());
  }
}

}  // namespace

std::unique_ptr<ByteSource> LocalFileSystem::OpenRead(const std::string& path) {
  const std::wstring name = CheckedName(path);
  // Others may go on reading and writing the file: the program only looks.
  Handle handle(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.Valid()) {
    throw OpenError(GetLastError(), path);
  }
  // Only files on a disk open: a pipe or device could block the first read.
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) {
    throw MakeError(error_number::kPathFileAccess);
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(handle.Get(), &size) == FALSE) {
    throw Win32Error(GetLastError());
  }
  return std::make_unique<Win32ByteSource>(handle.Release(), size.QuadPart);
}

void LocalFileSystem::WriteText(const std::string& path, std::string_view utf8Text) {
  const std::wstring target = CheckedName(path);
  const bool exists = CheckTarget(target);
  const std::string bytes = ToAnsiCodePage(utf8Text);
  if (!ReplaceThroughTemporaryFile(target, exists, bytes)) {
    WriteInPlace(target, bytes);
  }
}

}  // namespace vellumark
