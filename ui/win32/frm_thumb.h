#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/commands/thumb_commands.h"

namespace vellumark {

// The thumbnail window: a fixed-size tool window with a close button only, not
// in the task bar, showing the thumbnail enlarged with crisp pixels. When it
// closes, the main window is shown and active again.
class FrmThumb : public ThumbnailWindow {
public:
  explicit FrmThumb(HWND mainWindow) : mainWindow_(mainWindow) {}
  void ShowModal(const JfifThumbnail* picture) override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window);
  void EnableOthers();

  HWND mainWindow_;
  // The picture as a top-down 24-bit DIB: BGR, rows padded to four bytes.
  std::vector<std::uint8_t> pixels_;
  BITMAPINFO header_{};
  int scale_ = 1;
  std::vector<HWND> disabled_;
};

}  // namespace vellumark
