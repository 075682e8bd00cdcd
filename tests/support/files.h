#pragma once

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace vellumark::testing {

// A fresh folder under the system's temporary folder, removed with everything
// in it at the end of the test.
class TempDir {
public:
  // A random name, tried until one is new, so that the same code serves POSIX
  // and Windows.
  TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto candidate =
          std::filesystem::temp_directory_path() / ("vellumark-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate;
      }
    }
    if (path_.empty()) {
      throw std::runtime_error("cannot create a temporary folder");
    }
  }
  ~TempDir() {
    // A test may have made the folder or something in it read-only; make it
    // removable again.
    std::error_code ignored;
    MakeWritable(path_, ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      MakeWritable(entry.path(), ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

private:
  static void MakeWritable(const std::filesystem::path& path, std::error_code& error) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }

  std::filesystem::path path_;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#ifndef _WIN32
// Root may read and write files whatever their mode, so permission tests only
// mean something for other users.
inline bool RunningAsRoot() { return ::geteuid() == 0; }
#endif

}  // namespace vellumark::testing
