#include "ui/win32/widget_adapters.h"

#include <string>

#include "platform/win32/utf16.h"

namespace vellumark {

void Win32ReportView::SetText(std::string utf8) { SetWindowTextW(edit_, Utf16(utf8).c_str()); }

std::string Win32ReportView::Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  const int length = GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return Utf8(text);
}

// About 1.3 million lines, as much as the Windows window has always held; how
// the EDIT control copes with more has not been measured.
std::size_t Win32ReportView::Capacity() const { return 16 * 1024 * 1024; }

bool Win32CheckItem::Checked() const { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void Win32CheckItem::SetChecked(bool checked) {
  CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Like the close button: the window goes through WM_CLOSE, and nothing asks.
void Win32MainWindow::Close() { PostMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace vellumark
