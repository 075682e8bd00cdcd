#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/app_info.h"
#include "platform/common_dialog.h"
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
    ++opens;
    if (auto failure = failures.find(path); failure != failures.end()) {
      throw MakeError(failure->second);
    }
    if (auto source = sources.find(path); source != sources.end()) {
      return source->second();
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
  // Sources of a kind of their own, such as one that fails half-way.
  std::map<std::string, std::function<std::unique_ptr<ByteSource>()>> sources;
  std::map<std::string, std::int32_t> failures;
  std::map<std::string, std::string> written;
  int opens = 0;
};

// A file dialog that answers from a script: each showing takes the next answer,
// a file name or nullopt for a cancel. Records the settings it was shown with.
class FakeCommonDialog : public CommonDialog {
public:
  struct Showing {
    bool forSaving;
    std::string filter;
    int flags;
    std::string initDir;
    std::string initialName;
  };

  void ShowOpen() override { Show(false); }
  void ShowSave() override { Show(true); }

  std::vector<std::optional<std::string>> answers;
  std::vector<Showing> showings;
  // Raised instead of showing, when set.
  std::optional<std::int32_t> failure;

private:
  void Show(bool forSaving) {
    if (failure) {
      throw MakeError(*failure);
    }
    showings.push_back({forSaving, Filter, Flags, InitDir, FileName});
    const std::optional<std::string> answer = answers.at(showings.size() - 1);
    if (!answer) {
      throw MakeError(error_number::kCancelled);
    }
    FileName = *answer;
  }
};

class FakeAppInfo : public AppInfo {
public:
  std::string ProductName() const override { return "Vellumark"; }
  int Major() const override { return 1; }
  int Minor() const override { return 0; }
  int Revision() const override { return 38; }
  std::string CompanyName() const override { return "Vellumark 项目"; }
  std::string LegalCopyright() const override { return "© 2026 Vellumark 项目"; }
  std::string FileDescription() const override { return "JPEG文件分析工具"; }
  std::string ProgramDirectory() const override { return "/opt/vellumark"; }
};

}  // namespace vellumark::testing
