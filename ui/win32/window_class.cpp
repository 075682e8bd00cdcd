#include "ui/win32/window_class.h"

#include "ui/win32/resource_ids.h"

namespace vellumark {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterWindowClassOnce(const WindowClass& windowClass) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(Instance(), windowClass.name, &existing) != FALSE) {
    return;
  }
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  registered.lpfnWndProc = windowClass.windowProc;
  registered.hInstance = Instance();
  registered.hIcon = windowClass.icon;
  registered.hIconSm = windowClass.smallIcon;
  registered.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  registered.hbrBackground = windowClass.background;
  registered.lpszClassName = windowClass.name;
  RegisterClassExW(&registered);
}

HICON ProgramIcon(int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
}

NONCLIENTMETRICSW NonClientMetrics() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics;
}

}  // namespace vellumark
