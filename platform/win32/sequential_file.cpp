#include "platform/sequential_file.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>

#include "platform/runtime_error.h"
#include "platform/win32/utf16.h"

namespace vellumark {

// Console events arrive on a thread of their own, so no read here ever returns
// early for one.
SequentialFile::SequentialFile() : fd_(_fileno(stdin)), owned_(false), path_("-") {
  _setmode(fd_, _O_BINARY);
}

SequentialFile::SequentialFile(const std::string& path)
    : fd_(_wopen(Utf16(path).c_str(), _O_RDONLY | _O_BINARY)), owned_(true), path_(path) {
  if (fd_ < 0) {
    throw SystemError(errno, path);
  }
}

SequentialFile::~SequentialFile() {
  if (owned_) {
    _close(fd_);
  }
}

std::optional<std::size_t> SequentialFile::ReadSome(std::span<char> dst) {
  const int got = _read(fd_, dst.data(), static_cast<unsigned>(std::min<std::size_t>(dst.size(), 1U << 30)));
  if (got < 0) {
    throw SystemError(errno, path_);
  }
  return static_cast<std::size_t>(got);
}

}  // namespace vellumark
