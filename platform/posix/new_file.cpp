#include "platform/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <atomic>
#include <optional>

#include "platform/posix/file_descriptor.h"
#include "platform/runtime_error.h"

namespace vellumark {

struct NewFile::Parts {
  std::string path;
  std::string temporary;
  std::optional<FileDescriptor> fd;
  bool committed = false;
};

NewFile::NewFile(const std::string& path) : parts_(std::make_unique<Parts>()) {
  CheckName(path);
  parts_->path = path;
  // Named by the process and a counter; O_EXCL refuses a name taken all the
  // same. Unlike mkstemp's, the file gets the usual mode, the umask applied.
  static std::atomic<unsigned> counter{0};
  const std::string temporary =
      path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) {
    throw SystemError(errno, path);
  }
  parts_->fd.emplace(fd);
  parts_->temporary = temporary;
}

NewFile::~NewFile() {
  if (!parts_->committed && !parts_->temporary.empty()) {
    ::unlink(parts_->temporary.c_str());
  }
}

void NewFile::Write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(parts_->fd->Get(), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written < 0) {
      throw SystemError(errno, parts_->path);
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
}

void NewFile::Commit() {
  if (parts_->fd->Close() != 0) {
    throw SystemError(errno, parts_->path);
  }
  // link, unlike rename, fails where the name is taken: nothing is replaced.
  if (::link(parts_->temporary.c_str(), parts_->path.c_str()) != 0) {
    throw SystemError(errno, parts_->path);
  }
  parts_->committed = true;
  ::unlink(parts_->temporary.c_str());
}

}  // namespace vellumark
