#pragma once

#include <windows.h>

#include <memory>

#include "platform/win32/win32_mouse_pointer.h"
#include "ui/commands/main_commands.h"
#include "ui/win32/widget_adapters.h"

namespace vellumark {

// The main window: an EDIT control filling the client area under the menu bar
// from the resource script. Its events go to MainCommands; it holds no
// behaviour of its own beyond layout and the pointer shape.
class FrmMain {
public:
  // appPointer is the one behind services.busy: the window shows its shape.
  FrmMain(PlatformServices services, const Win32MousePointer& appPointer);
  ~FrmMain();
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  void Show(int showCommand);
  // Turns a shortcut key of the main window into its command; true if message
  // was one and has been handled.
  bool TranslateShortcut(MSG& message);

  HWND Window() const { return window_; }
  HWND TxtInfo() const { return txtInfo_; }
  HMENU Menu() const { return GetMenu(window_); }

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Form_Resize(WPARAM sizeKind, int width, int height);
  void OnCommand(WORD id);
  bool SetPointer();

  const Win32MousePointer& appPointer_;
  Win32MousePointer windowPointer_;
  HWND window_ = nullptr;
  HWND txtInfo_ = nullptr;
  HFONT font_ = nullptr;
  HACCEL shortcuts_ = nullptr;
  std::unique_ptr<Win32ReportView> reportView_;
  std::unique_ptr<Win32CheckItem> acOption_;
  std::unique_ptr<Win32MainWindow> mainWindow_;
  std::unique_ptr<MainCommands> commands_;
};

}  // namespace vellumark
