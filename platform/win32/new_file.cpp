#include "platform/new_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/runtime_error.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_error.h"

namespace vellumark {

struct NewFile::Parts {
  std::wstring path;
  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool committed = false;
};

NewFile::NewFile(const std::string& path) : parts_(std::make_unique<Parts>()) {
  parts_->path = Utf16(path);
  // The process and a counter make the name; CREATE_NEW refuses one taken all the same.
  static volatile LONG counter = 0;
  parts_->temporary = parts_->path + L".part-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(InterlockedIncrement(&counter));
  parts_->handle = CreateFileW(parts_->temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (parts_->handle == INVALID_HANDLE_VALUE) {
    parts_->temporary.clear();
    throw Win32Error(GetLastError());
  }
}

NewFile::~NewFile() {
  if (parts_->handle != INVALID_HANDLE_VALUE) {
    CloseHandle(parts_->handle);
  }
  if (!parts_->committed && !parts_->temporary.empty()) {
    DeleteFileW(parts_->temporary.c_str());
  }
}

void NewFile::Write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(parts_->handle, bytes.data(), piece, &written, nullptr)) {
      throw Win32Error(GetLastError());
    }
    bytes = bytes.subspan(written);
  }
}

void NewFile::Commit() {
  const BOOL closed = CloseHandle(parts_->handle);
  parts_->handle = INVALID_HANDLE_VALUE;
  if (!closed) {
    throw Win32Error(GetLastError());
  }
  // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
  if (!MoveFileExW(parts_->temporary.c_str(), parts_->path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    throw Win32Error(GetLastError());
  }
  parts_->committed = true;
}

}  // namespace vellumark
