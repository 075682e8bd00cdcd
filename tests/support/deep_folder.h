#pragma once

// Folders nested below a top folder until the innermost one's path is longer
// than PATH_MAX, which makes it unreadable even to root. POSIX only.
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vellumark::testing {

// The folders are made and removed through file descriptors, for which no
// path is too long.
class DeepFolder {
public:
  DeepFolder(const std::filesystem::path& root, const std::string& top) : relative_(top) {
    std::filesystem::create_directory(root / top);
    folders_.push_back(::open((root / top).c_str(), O_RDONLY | O_DIRECTORY));
    for (std::size_t length = (root / top).string().size(); length < PATH_MAX; length += 1 + kName.size()) {
      ::mkdirat(folders_.back(), kName.c_str(), 0700);
      folders_.push_back(::openat(folders_.back(), kName.c_str(), O_RDONLY | O_DIRECTORY));
      relative_ += "/" + kName;
    }
  }
  ~DeepFolder() {
    ::close(folders_.back());
    folders_.pop_back();
    for (; !folders_.empty(); folders_.pop_back()) {
      ::unlinkat(folders_.back(), kName.c_str(), AT_REMOVEDIR);
      ::close(folders_.back());
    }
  }
  DeepFolder(const DeepFolder&) = delete;
  DeepFolder& operator=(const DeepFolder&) = delete;

  // The innermost folder's path below root.
  const std::string& Relative() const { return relative_; }

private:
  inline static const std::string kName = std::string(200, 'd');
  std::vector<int> folders_;
  std::string relative_;
};

}  // namespace vellumark::testing
