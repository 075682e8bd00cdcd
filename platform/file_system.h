#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace vellumark {

// The program's only ways to touch files. Failures throw RuntimeError.
class FileSystem {
public:
  virtual ~FileSystem() = default;
  // Opens path read-only. Only regular files open: a folder, FIFO or device is
  // refused before anything could block on it.
  virtual std::unique_ptr<ByteSource> OpenRead(const std::string& path) = 0;
  // Writes utf8Text to path in the system's ANSI code page. Where a new file can
  // take the old one's place unnoticed (the folder takes it, the old file has no
  // other links, its owner can be kept), the old text is replaced only once the
  // whole new text is written, and a failed save leaves the old file whole and no
  // temporary file behind. Elsewhere the file is truncated and written in place,
  // and a failure midway leaves it incomplete.
  virtual void WriteText(const std::string& path, std::string_view utf8Text) = 0;
};

}  // namespace vellumark
