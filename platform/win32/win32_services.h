#pragma once

#include "common/busy.h"
#include "platform/local_file_system.h"
#include "platform/win32/win32_app_info.h"
#include "platform/win32/win32_common_dialog.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_mouse_pointer.h"

namespace vellumark {

// The Windows program's platform services, alive for the whole run.
struct Win32Services {
  LocalFileSystem files;
  Win32MessageBox messages;
  Win32MousePointer appPointer;
  BusyIndicator busy{appPointer};
  Win32CommonDialog dialog;
  Win32AppInfo app;

  // The window the dialogs and message boxes belong to.
  void SetOwner(void* window) {
    messages.SetOwner(window);
    dialog.SetOwner(window);
  }
};

}  // namespace vellumark
