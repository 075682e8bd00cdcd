#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/mouse_pointer.h"
#include "platform/runtime_error.h"
#include "ui/commands/platform_services.h"
#include "ui/commands/thumb_commands.h"
#include "ui/commands/window_parts.h"

namespace vellumark {

// What the main window lends to its commands.
struct MainWindowParts {
  MainWindow& window;
  ReportView& TxtInfo;
  CheckItem& mnuShowACH;
  MousePointer& windowPointer;
  // Makes the thumbnail window; called once, at the first Thumbnail command.
  std::function<std::unique_ptr<ThumbnailWindow>()> createThumbnailWindow;
};

// The main window's commands, written once against the platform interfaces; a
// window system only routes its events here.
class MainCommands {
public:
  MainCommands(MainWindowParts parts, PlatformServices services);

  void Form_Initialize();
  void Form_Load();
  void mnuOpen_Click();
  void mnuSave_Click();
  void mnuShowACH_Click();
  void mnuRefresh_Click();
  void mnuThumb_Click();
  void mnuAbout_Click();
  void mnuQuit_Click();

  // Replaces the report with the marker report of FileName; shows its own errors.
  void AnalyseFile(const std::string& FileName);
  // Writes the report text to FileName; shows its own errors.
  void SaveReport(const std::string& FileName);

private:
  void SetInitialDirectory();
  bool ChooseFile(std::string_view filter, int flags, void (CommonDialog::*show)());

  MainWindowParts parts_;
  PlatformServices services_;
  std::unique_ptr<ThumbnailWindow> thumbWindow_;
  std::unique_ptr<ThumbCommands> thumb_;
};

}  // namespace vellumark
