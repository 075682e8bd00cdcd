// Saving a report: LocalFileSystem::WriteText on POSIX systems.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/ansi_text.h"
#include "platform/local_file_system.h"
#include "platform/posix/file_descriptor.h"
#include "platform/runtime_error.h"

namespace vellumark {

namespace {

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

// The file a save replaces, if there is one, and the mode the saved file gets.
struct Target {
  std::optional<struct stat> existing;
  mode_t mode = 0;
};

// The checks a plain overwrite would have made: a read-only file, or anything
// but a regular file, is refused, even though renaming over it might succeed.
Target CheckTarget(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      throw SystemError(errno, target);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return {std::nullopt, static_cast<mode_t>(0666 & ~mask)};
  }
  if (!S_ISREG(st.st_mode)) {
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
  return {st, static_cast<mode_t>(st.st_mode & 07777)};
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
// called once it has been renamed into place. Made() is false where the folder
// took no new file; Error() says why.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& target) : name_(target + ".XXXXXX") {
    fd_ = ::mkstemp(name_.data());
    error_ = fd_ < 0 ? errno : 0;
  }
  ~TemporaryFile() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    if (Made() && !kept_) {
      ::unlink(name_.c_str());
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Made() const { return error_ == 0; }
  int Error() const { return error_; }
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
  int error_ = 0;
  bool kept_ = false;
};

// A folder that is read-only, immutable or on a read-only mount may still hold
// files that can be written where they are.
bool RefusesNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// The new file belongs to whom the old one did, or it does not replace it.
bool TakeOwnerOf(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) {
    return false;
  }
  return (now.st_uid == old.st_uid && now.st_gid == old.st_gid) || ::fchown(fd, old.st_uid, old.st_gid) == 0;
}

// Writes the whole text to a new file and renames it over the target, so a
// failure leaves the old file whole. Returns false, having changed nothing,
// where a new file would not be what the old one was: a file with other links,
// whose owner cannot be kept, in a folder that takes no new file.
bool ReplaceThroughTemporaryFile(const std::string& target, const Target& old, std::string_view bytes) {
  if (old.existing && old.existing->st_nlink > 1) {
    return false;
  }
  TemporaryFile temp(target);
  if (!temp.Made()) {
    if (old.existing && RefusesNewFiles(temp.Error())) {
      return false;
    }
    throw SystemError(temp.Error(), target);
  }
  if (old.existing && !TakeOwnerOf(temp.Fd(), *old.existing)) {
    return false;
  }
  WriteAll(temp.Fd(), bytes, target);
  // After fchown, which clears the set-user-ID and set-group-ID bits.
  if (::fchmod(temp.Fd(), old.mode) != 0 || ::fsync(temp.Fd()) != 0 || temp.Close() != 0) {
    throw SystemError(errno, target);
  }
  if (::rename(temp.Name().c_str(), target.c_str()) != 0) {
    throw SystemError(errno, target);
  }
  temp.Keep();
  return true;
}

// Truncates the file and writes it where it is, as the shell's > does: it keeps
// its identity, links, owner and mode, but a failure midway leaves it
// incomplete. O_NONBLOCK: a FIFO put there since the check is refused, not
// waited on.
void WriteInPlace(const std::string& target, std::string_view bytes) {
  FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.Get() < 0) {
    throw SystemError(errno, target);
  }
  WriteAll(file.Get(), bytes, target);
  if (::fsync(file.Get()) != 0 || file.Close() != 0) {
    throw SystemError(errno, target);
  }
}

}  // namespace

void LocalFileSystem::WriteText(const std::string& path, std::string_view utf8Text) {
  CheckName(path);
  const std::string target = ResolveTarget(path);
  const Target old = CheckTarget(target);
  const std::string bytes = ToAnsiCodePage(utf8Text);
  if (!ReplaceThroughTemporaryFile(target, old, bytes)) {
    WriteInPlace(target, bytes);
  }
}

}  // namespace vellumark
