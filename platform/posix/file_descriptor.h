#pragma once

#include <unistd.h>

#include <string>
#include <utility>

#include "platform/runtime_error.h"

namespace vellumark {

// An open file descriptor, closed when it goes.
class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  // Returns close()'s own result: a failed close can mean unwritten data.
  int Close() {
    const int rc = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return rc;
  }

private:
  int fd_;
};

// An empty name, or one the system would cut at a NUL byte, names no file.
inline void CheckName(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    throw MakeError(error_number::kBadFileName);
  }
}

}  // namespace vellumark
