#pragma once

#include <windows.h>

namespace vellumark {

HINSTANCE Instance();

// Registers a window class the first time a window of it is made.
struct WindowClass {
  const wchar_t* name;
  WNDPROC windowProc;
  HBRUSH background;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
};
void RegisterWindowClassOnce(const WindowClass& windowClass);

// The program's icon at the size a system metric gives (SM_CXICON, SM_CXSMICON).
HICON ProgramIcon(int sizeMetric);

// The system's fonts and sizes for title bars, menus and message boxes.
NONCLIENTMETRICSW NonClientMetrics();

}  // namespace vellumark
