#include <windows.h>

#include "platform/win32/win32_services.h"
#include "ui/win32/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  vellumark::Win32Services services;
  vellumark::FrmMain window({services.files, services.messages, services.busy, services.dialog, services.app},
                            services.appPointer);
  services.SetOwner(window.Window());
  window.Show(showCommand);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!window.TranslateShortcut(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
