#include "platform/win32/win32_error.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace vellumark {

namespace {

std::string SystemText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", length);
  LocalFree(text);
  // The system's texts end with a line break; the error box adds its own.
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  return Utf8(message);
}

}  // namespace

RuntimeError Win32Error(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND: return MakeError(error_number::kFileNotFound);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return MakeError(error_number::kFileExists);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return MakeError(error_number::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return MakeError(error_number::kAccessDenied);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME: return MakeError(error_number::kBadFileName);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return MakeError(error_number::kDiskFull);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return MakeError(error_number::kOutOfMemory);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return MakeError(error_number::kDeviceIo);
    case ERROR_HANDLE_EOF: return MakeError(error_number::kPastEndOfFile);
    default:
      return RuntimeError(error_number::kSystemBase + static_cast<std::int32_t>(code), SystemText(code));
  }
}

}  // namespace vellumark
