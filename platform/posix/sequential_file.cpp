#include "platform/sequential_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/runtime_error.h"

namespace vellumark {

SequentialFile::SequentialFile() : fd_(STDIN_FILENO), owned_(false), path_("-") {}

SequentialFile::SequentialFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)), owned_(true), path_(path) {
  if (fd_ < 0) {
    throw SystemError(errno, path);
  }
}

SequentialFile::~SequentialFile() {
  if (owned_) {
    ::close(fd_);
  }
}

std::optional<std::size_t> SequentialFile::ReadSome(std::span<char> dst) {
  const ssize_t got = ::read(fd_, dst.data(), dst.size());
  if (got < 0 && errno == EINTR) {
    return std::nullopt;
  }
  if (got < 0) {
    throw SystemError(errno, path_);
  }
  return static_cast<std::size_t>(got);
}

}  // namespace vellumark
