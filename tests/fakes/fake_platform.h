#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory_byte_source.h"
#include "platform/message_box.h"
#include "platform/mouse_pointer.h"
#include "platform/runtime_error.h"

namespace vellumark::testing {

// Records every shape it is set to.
class FakeMousePointer : public MousePointer {
public:
  void SetShape(PointerShape shape) override { shapes.push_back(shape); }
  PointerShape Current() const { return shapes.empty() ? PointerShape::Default : shapes.back(); }
  std::vector<PointerShape> shapes;
};

struct ShownMessage {
  std::string prompt;
  std::string title;
  MessageIcon icon;
};

// Records every box instead of showing it; onShow runs while the box would be
// up, to look at the program's state at that moment.
class FakeMessageBox : public MessageBox {
public:
  void Show(const std::string& prompt, const std::string& title, MessageIcon icon) override {
    if (onShow) {
      onShow();
    }
    shown.push_back({prompt, title, icon});
  }
  std::vector<ShownMessage> shown;
  std::function<void()> onShow;
};

// Files in memory. A path listed in failures raises that error on open or write.
class FakeFileSystem : public FileSystem {
public:
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    if (auto failure = failures.find(path); failure != failures.end()) {
      throw MakeError(failure->second);
    }
    auto file = files.find(path);
    if (file == files.end()) {
      throw MakeError(path.empty() ? error_number::kBadFileName : error_number::kFileNotFound);
    }
    return std::make_unique<MemoryByteSource>(file->second);
  }

  void WriteText(const std::string& path, std::string_view utf8Text) override {
    if (auto failure = failures.find(path); failure != failures.end()) {
      throw MakeError(failure->second);
    }
    written[path] = std::string(utf8Text);
  }

  std::map<std::string, std::vector<std::uint8_t>> files;
  std::map<std::string, std::int32_t> failures;
  std::map<std::string, std::string> written;
};

}  // namespace vellumark::testing
