#include "platform/win32/win32_message_box.h"

#include <windows.h>

#include "platform/win32/utf16.h"
#include "version.h"

namespace vellumark {

void Win32MessageBox::Show(const std::string& prompt, const std::string& title, MessageIcon icon) {
  const std::wstring caption = Utf16(title.empty() ? std::string(version::kProductName) : title);
  const UINT style = MB_OK | (icon == MessageIcon::Critical ? MB_ICONSTOP : MB_ICONINFORMATION);
  MessageBoxW(static_cast<HWND>(owner_), Utf16(prompt).c_str(), caption.c_str(), style);
}

}  // namespace vellumark
