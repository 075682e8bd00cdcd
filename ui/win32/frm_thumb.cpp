#include "ui/win32/frm_thumb.h"

#include "platform/win32/utf16.h"
#include "ui/win32/window_class.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

constexpr wchar_t kClassName[] = L"VellumarkFrmThumb";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

struct ThreadWindows {
  HWND except;
  std::vector<HWND> disabled;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM data) {
  auto& windows = *reinterpret_cast<ThreadWindows*>(data);
  if (window != windows.except && IsWindowEnabled(window) != FALSE && IsWindowVisible(window) != FALSE) {
    EnableWindow(window, FALSE);
    windows.disabled.push_back(window);
  }
  return TRUE;
}

// How wide the client area must be for the title bar to show the whole caption:
// the caption in the small caption font of tool windows, and room for the close
// button and the margins beside it.
int TitleWidth(const std::wstring& caption) {
  const NONCLIENTMETRICSW metrics = NonClientMetrics();
  const HFONT font = CreateFontIndirectW(&metrics.lfSmCaptionFont);
  const HDC screen = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(screen, font);
  SIZE size{};
  GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  DeleteObject(font);
  return size.cx + 2 * metrics.iSmCaptionWidth;
}

// A window with no owner is modal the way a dialog box is: the thread's other
// windows take no input while it is up.
std::vector<HWND> DisableThreadWindows(HWND except) {
  ThreadWindows windows{except, {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableWindow, reinterpret_cast<LPARAM>(&windows));
  return windows.disabled;
}

}  // namespace

void FrmThumb::ShowModal(const JfifThumbnail* picture) {
  const std::wstring caption = Utf16(window_text::kThumbCaption);
  const ThumbnailLayout layout = LayoutThumbnail(picture, TitleWidth(caption));
  scale_ = layout.scale;
  pixels_.clear();
  header_ = {};
  if (picture != nullptr) {
    const auto rowBytes = (static_cast<std::size_t>(picture->width) * 3 + 3) & ~std::size_t{3};
    pixels_.assign(rowBytes * static_cast<std::size_t>(picture->height), 0);
    for (int y = 0; y < picture->height; ++y) {
      for (int x = 0; x < picture->width; ++x) {
        const std::size_t from = (static_cast<std::size_t>(y) * picture->width + x) * 3;
        const std::size_t to = static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x) * 3;
        pixels_[to] = picture->rgb[from + 2];
        pixels_[to + 1] = picture->rgb[from + 1];
        pixels_[to + 2] = picture->rgb[from];
      }
    }
    header_.bmiHeader.biSize = sizeof header_.bmiHeader;
    header_.bmiHeader.biWidth = picture->width;
    header_.bmiHeader.biHeight = -picture->height;
    header_.bmiHeader.biPlanes = 1;
    header_.bmiHeader.biBitCount = 24;
    header_.bmiHeader.biCompression = BI_RGB;
  }

  RegisterWindowClassOnce({kClassName, &FrmThumb::WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           ProgramIcon(SM_CXICON), ProgramIcon(SM_CXSMICON)});
  RECT rect{0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
  const HWND window = CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                      Instance(), this);
  disabled_ = DisableThreadWindows(window);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message{};
  while (IsWindow(window) != FALSE) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      // The program is ending: leave the quit message for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (IsWindow(window) != FALSE) {
    EnableOthers();
    DestroyWindow(window);
  }
}

// Before the window goes, so that activation returns to the program's own
// window rather than to some other program; a main window minimised meanwhile
// (the task bar, Win+M) comes back with it.
void FrmThumb::EnableOthers() {
  for (const HWND other : disabled_) {
    EnableWindow(other, TRUE);
  }
  disabled_.clear();
  if (IsIconic(mainWindow_) != FALSE) {
    ShowWindow(mainWindow_, SW_RESTORE);
  }
  SetForegroundWindow(mainWindow_);
}

LRESULT CALLBACK FrmThumb::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<FrmThumb*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_PAINT) {
    self->Paint(window);
    return 0;
  }
  if (self != nullptr && message == WM_CLOSE) {
    self->EnableOthers();
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void FrmThumb::Paint(HWND window) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  if (!pixels_.empty()) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = header_.bmiHeader.biWidth;
    const int height = -header_.bmiHeader.biHeight;
    const int targetWidth = width * scale_;
    const int targetHeight = height * scale_;
    // Nearest-neighbour enlargement: each thumbnail pixel becomes a square.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, (client.right - targetWidth) / 2, (client.bottom - targetHeight) / 2, targetWidth,
                  targetHeight, 0, 0, width, height, pixels_.data(), &header_, DIB_RGB_COLORS, SRCCOPY);
  }
  EndPaint(window, &paint);
}

}  // namespace vellumark
