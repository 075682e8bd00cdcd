#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/fake_platform.h"
#include "ui/commands/main_commands.h"

namespace vellumark::testing {

class FakeReportView : public ReportView {
public:
  void SetText(std::string utf8) override { text = std::move(utf8); }
  std::string Text() const override { return text; }
  std::size_t Capacity() const override { return capacity; }
  std::string text;
  std::size_t capacity = 1024 * 1024;
};

class FakeCheckItem : public CheckItem {
public:
  bool Checked() const override { return checked; }
  void SetChecked(bool value) override { checked = value; }
  bool checked = false;
};

class FakeMainWindow : public MainWindow {
public:
  void Close() override { closed = true; }
  bool closed = false;
};

// Records each showing and the picture it was given.
class FakeThumbnailWindow : public ThumbnailWindow {
public:
  explicit FakeThumbnailWindow(std::vector<std::optional<JfifThumbnail>>& shown) : shown_(shown) {}
  void ShowModal(const JfifThumbnail* picture) override {
    shown_.push_back(picture != nullptr ? std::optional(*picture) : std::nullopt);
  }

private:
  std::vector<std::optional<JfifThumbnail>>& shown_;
};

// The main window's commands over fakes of everything they touch.
struct CommandRig {
  FakeFileSystem files;
  FakeMessageBox messages;
  FakeMousePointer appPointer;
  BusyIndicator busy{appPointer};
  FakeCommonDialog dialog;
  FakeAppInfo app;
  FakeMainWindow window;
  FakeReportView report;
  FakeCheckItem acOption;
  FakeMousePointer windowPointer;
  int thumbnailWindowsMade = 0;
  std::vector<std::optional<JfifThumbnail>> thumbnailsShown;
  MainCommands commands{
      MainWindowParts{window, report, acOption, windowPointer,
                      [this] {
                        ++thumbnailWindowsMade;
                        return std::make_unique<FakeThumbnailWindow>(thumbnailsShown);
                      }},
      PlatformServices{files, messages, busy, dialog, app}};

  CommandRig() {
    commands.Form_Initialize();
    commands.Form_Load();
  }
};

}  // namespace vellumark::testing
