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
// that name is refused, even though replacing it might succeed.
void CheckTarget(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND) {
      throw Win32Error(code);
    }
    return;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw MakeError(error_number::kPathFileAccess);
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw MakeError(error_number::kAccessDenied);
  }
}

// The new text goes to a file of its own beside the target, removed again
// unless Keep() is called once it has replaced the target.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::wstring& target) : handle_(INVALID_HANDLE_VALUE) {
    for (unsigned attempt = 0; attempt < 100 && !handle_.Valid(); ++attempt) {
      name_ = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp";
      handle_.Reset(CreateFileW(name_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!handle_.Valid() && GetLastError() != ERROR_FILE_EXISTS) {
        throw Win32Error(GetLastError());
      }
    }
    if (!handle_.Valid()) {
      throw Win32Error(ERROR_FILE_EXISTS);
    }
  }
  ~TemporaryFile() {
    handle_.Close();
    if (!kept_) {
      DeleteFileW(name_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  HANDLE Get() const { return handle_.Get(); }
  bool Close() { return handle_.Close(); }
  const std::wstring& Name() const { return name_; }
  void Keep() { kept_ = true; }

private:
  std::wstring name_;
  Handle handle_;
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
  CheckTarget(target);
  const std::string bytes = ToAnsiCodePage(utf8Text);
  TemporaryFile temp(target);
  WriteAll(temp.Get(), bytes);
  if (FlushFileBuffers(temp.Get()) == FALSE || !temp.Close()) {
    throw Win32Error(GetLastError());
  }
  if (MoveFileExW(temp.Name().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
    throw Win32Error(GetLastError());
  }
  temp.Keep();
}

}  // namespace vellumark
