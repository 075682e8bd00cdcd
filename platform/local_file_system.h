#pragma once

#include "platform/file_system.h"

namespace vellumark {

// Files on the local disk through the operating system's own calls: POSIX in
// platform/posix, Win32 in platform/win32; the build picks one.
class LocalFileSystem : public FileSystem {
public:
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override;
  void WriteText(const std::string& path, std::string_view utf8Text) override;
};

}  // namespace vellumark
