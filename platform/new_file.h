#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace vellumark {

// A file made under a name nothing has yet, whole or not at all: the bytes go
// to a temporary file beside it, which takes the name at Commit only where
// the name is still free (error 58 where it is not), so that nothing is ever
// overwritten and no half-written file is ever seen under it. Unless Commit
// succeeds, the temporary file is removed. Failures throw RuntimeError.
class NewFile {
public:
  explicit NewFile(const std::string& path);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  void Write(std::span<const std::uint8_t> bytes);
  void Commit();

private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vellumark
