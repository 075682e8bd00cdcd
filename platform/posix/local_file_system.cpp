#include "platform/local_file_system.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/ansi_text.h"
#include "platform/runtime_error.h"

namespace vellumark {

namespace {

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

void CheckName(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    throw MakeError(error_number::kBadFileName);
  }
}

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

// Saving onto a symbolic link replaces the file it points to, not the link.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
      return resolved;
    }
  }
  return path;
}

// The checks a plain overwrite would have made: a read-only file or a folder of
// that name is refused, even though renaming over it might succeed. Returns the
// mode the new file should have.
mode_t CheckTarget(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      throw SystemError(errno, target);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }
  if (S_ISDIR(st.st_mode)) {
    throw MakeError(error_number::kPathFileAccess);
  }
  // A file nobody may write is read-only for the administrator too, as a
  // read-only file is on other systems.
  if ((st.st_mode & 0222) == 0) {
    throw MakeError(error_number::kAccessDenied);
  }
  if (::access(target.c_str(), W_OK) != 0) {
    throw SystemError(errno, target);
  }
  return static_cast<mode_t>(st.st_mode & 07777);
}

void WriteAll(int fd, std::string_view bytes, const std::string& target) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n < 0) {
      throw SystemError(errno, target);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// The temporary file in the target's folder, removed again unless Keep() is
// called once it has been renamed into place.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& target) : name_(target + ".XXXXXX") {
    fd_ = ::mkstemp(name_.data());
    if (fd_ < 0) {
      throw SystemError(errno, target);
    }
  }
  ~TemporaryFile() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    if (!kept_) {
      ::unlink(name_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return fd_; }
  const std::string& Name() const { return name_; }
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void Keep() { kept_ = true; }

private:
  std::string name_;
  int fd_ = -1;
  bool kept_ = false;
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

void LocalFileSystem::WriteText(const std::string& path, std::string_view utf8Text) {
  CheckName(path);
  const std::string target = ResolveTarget(path);
  const mode_t mode = CheckTarget(target);
  const std::string bytes = ToAnsiCodePage(utf8Text);
  TemporaryFile temp(target);
  WriteAll(temp.Fd(), bytes, target);
  if (::fchmod(temp.Fd(), mode) != 0 || ::fsync(temp.Fd()) != 0 || temp.Close() != 0) {
    throw SystemError(errno, target);
  }
  if (::rename(temp.Name().c_str(), target.c_str()) != 0) {
    throw SystemError(errno, target);
  }
  temp.Keep();
}

}  // namespace vellumark
