#include "ui/win32/frm_main.h"

#include "platform/win32/utf16.h"
#include "ui/win32/frm_thumb.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/window_class.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

constexpr wchar_t kClassName[] = L"VellumarkFrmMain";
constexpr int kTxtInfoId = 1;

// The client area a new window gets: 4680 x 3090 twips, 312 x 206 pixels at 96
// dots per inch and more where the screen has more.
constexpr int kInitialClientTwipsWide = 4680;
constexpr int kInitialClientTwipsHigh = 3090;
constexpr int kTwipsPerInch = 1440;

SIZE InitialWindowSize(DWORD style) {
  const HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT rect{0, 0, MulDiv(kInitialClientTwipsWide, dpiX, kTwipsPerInch),
            MulDiv(kInitialClientTwipsHigh, dpiY, kTwipsPerInch)};
  AdjustWindowRectEx(&rect, style, TRUE, 0);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// The font dialogs and message boxes use, rather than the old bitmap system font
// an EDIT control starts with.
HFONT MessageFont() {
  const NONCLIENTMETRICSW metrics = NonClientMetrics();
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

FrmMain::FrmMain(PlatformServices services, const Win32MousePointer& appPointer) : appPointer_(appPointer) {
  RegisterWindowClassOnce({kClassName, &FrmMain::WindowProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                           ProgramIcon(SM_CXICON), ProgramIcon(SM_CXSMICON)});
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  const SIZE size = InitialWindowSize(kStyle);
  window_ = CreateWindowExW(0, kClassName, Utf16(window_text::kMainCaption).c_str(), kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, size.cx, size.cy, nullptr,
                            LoadMenuW(Instance(), MAKEINTRESOURCEW(IDR_MAIN_MENU)), Instance(), this);
  shortcuts_ = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
  CreateControls();
  RECT client{};
  GetClientRect(window_, &client);
  Form_Resize(SIZE_RESTORED, client.right, client.bottom);

  reportView_ = std::make_unique<Win32ReportView>(txtInfo_);
  acOption_ = std::make_unique<Win32CheckItem>(Menu(), IDM_SHOW_ACH);
  mainWindow_ = std::make_unique<Win32MainWindow>(window_);
  commands_ = std::make_unique<MainCommands>(
      MainWindowParts{*mainWindow_, *reportView_, *acOption_, windowPointer_,
                      [this] { return std::make_unique<FrmThumb>(window_); }},
      services);
  commands_->Form_Initialize();
  commands_->Form_Load();
}

FrmMain::~FrmMain() {
  if (IsWindow(window_) != FALSE) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  DeleteObject(font_);
  DestroyAcceleratorTable(shortcuts_);
}

void FrmMain::CreateControls() {
  // No word wrap: both scroll bars, and the box scrolls sideways as text is typed.
  constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL |
                           ES_AUTOVSCROLL | ES_NOHIDESEL;
  txtInfo_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kStyle, 0, 0, 0, 0, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTxtInfoId)), Instance(), nullptr);
  font_ = MessageFont();
  SendMessageW(txtInfo_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // An EDIT control takes 32767 characters from the user by default; reports of
  // large files are longer, and the user may edit them.
  SendMessageW(txtInfo_, EM_SETLIMITTEXT, 0, 0);
}

void FrmMain::Show(int showCommand) {
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

bool FrmMain::TranslateShortcut(MSG& message) {
  return TranslateAcceleratorW(window_, shortcuts_, &message) != 0;
}

LRESULT CALLBACK FrmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Messages before the window handle is known, and after the object is gone.
  if (self == nullptr || self->window_ == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Form_Resize(wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      SetFocus(txtInfo_);
      return 0;
    case WM_SYSCOMMAND:
      // Disabled, the window is behind the thumbnail window, which has no owner
      // and would be left alone on screen.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && IsWindowEnabled(window_) == FALSE) {
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (SetPointer()) {
        return TRUE;
      }
      break;
    case WM_COMMAND:
      // Menu items and shortcut keys; the text box's notifications carry its handle.
      if (lParam == 0) {
        OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// The text box always covers the whole client area; its own scroll bars do the
// scrolling. A minimised window keeps the box where it was.
void FrmMain::Form_Resize(WPARAM sizeKind, int width, int height) {
  if (sizeKind == SIZE_MINIMIZED) {
    return;
  }
  MoveWindow(txtInfo_, 0, 0, width, height, TRUE);
}

// The program's own shape wins over the classes' arrows while it is set: the
// application-wide one first, then the window's own.
bool FrmMain::SetPointer() {
  const Win32MousePointer* pointer =
      appPointer_.Holds() ? &appPointer_ : windowPointer_.Holds() ? &windowPointer_ : nullptr;
  if (pointer == nullptr) {
    return false;
  }
  SetCursor(static_cast<HCURSOR>(pointer->Cursor()));
  return true;
}

void FrmMain::OnCommand(WORD id) {
  switch (id) {
    case IDM_OPEN: commands_->mnuOpen_Click(); break;
    case IDM_SAVE: commands_->mnuSave_Click(); break;
    case IDM_QUIT: commands_->mnuQuit_Click(); break;
    case IDM_SHOW_ACH: commands_->mnuShowACH_Click(); break;
    case IDM_THUMB: commands_->mnuThumb_Click(); break;
    case IDM_REFRESH: commands_->mnuRefresh_Click(); break;
    case IDM_ABOUT: commands_->mnuAbout_Click(); break;
    default: break;
  }
}

}  // namespace vellumark
