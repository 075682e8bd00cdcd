#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vellumark {

// Runtime error numbers. They are shown as the title of the error box, so they
// are part of what users see and must stay stable. Descriptions live in
// runtime_error.cpp, one per number.
//
//   number  description            raised for
//   7       内存不足                 memory exhausted
//   52      错误的文件名             empty name, name with a NUL byte, name too long
//   53      文件未找到               no such file in an existing folder (dangling link too)
//   57      设备 I/O 错误            the device reported a read or write error
//   61      磁盘已满                 no space left (or quota exceeded) while saving
//   62      输入超出文件尾           the file ended before a read (it shrank while open)
//   70      拒绝访问                 no permission, read-only target or file system
//   75      路径/文件访问错误        not a regular file: a folder, FIFO, device, socket
//   76      路径未找到               a folder on the way does not exist
//   32755   已取消                   a file dialog was cancelled (never shown)
//   1000+e  the system's own text    any other system error e
namespace error_number {
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kDeviceIo = 57;
inline constexpr std::int32_t kFileExists = 58;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kPastEndOfFile = 62;
inline constexpr std::int32_t kAccessDenied = 70;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kCancelled = 32755;
inline constexpr std::int32_t kSystemBase = 1000;
}  // namespace error_number

class RuntimeError : public std::runtime_error {
public:
  RuntimeError(std::int32_t number, const std::string& description)
      : std::runtime_error(description), number_(number) {}

  std::int32_t Number() const { return number_; }
  std::string Description() const { return what(); }

private:
  std::int32_t number_;
};

// An error from the table above, with its own description.
RuntimeError MakeError(std::int32_t number);

// The error for a failed system call on path. errno values outside the table
// keep the system's own text under number 1000 + errno.
RuntimeError SystemError(int errnoValue, const std::string& path);

}  // namespace vellumark
