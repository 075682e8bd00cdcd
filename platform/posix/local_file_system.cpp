#include "platform/local_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "platform/posix/file_descriptor.h"
#include "platform/runtime_error.h"

namespace vellumark {

namespace {

class PosixByteSource : public ByteSource {
public:
  PosixByteSource(int fd, std::int64_t size, std::string path)
      : fd_(fd), size_(size), path_(std::move(path)) {}

  std::int64_t Size() const override { return size_; }

  std::size_t ReadAt(std::int64_t offset, std::span<std::uint8_t> dst) override {
    std::size_t done = 0;
    while (done < dst.size()) {
      const ssize_t got = ::pread(fd_.Get(), dst.data() + done, dst.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got < 0) {
        throw SystemError(errno, path_);
      }
      if (got == 0) {
        break;
      }
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

private:
  FileDescriptor fd_;
  std::int64_t size_;
  std::string path_;
};

}  // namespace

std::unique_ptr<ByteSource> LocalFileSystem::OpenRead(const std::string& path) {
  CheckName(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    throw SystemError(errno, path);
  }
  FileDescriptor guard(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    throw SystemError(errno, path);
  }
  if (!S_ISREG(st.st_mode)) {
    throw MakeError(error_number::kPathFileAccess);
  }
  const auto size = static_cast<std::int64_t>(st.st_size);
  return std::make_unique<PosixByteSource>(guard.Release(), size, path);
}

}  // namespace vellumark
