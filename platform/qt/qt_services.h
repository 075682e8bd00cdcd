#pragma once

#include "common/busy.h"
#include "platform/local_file_system.h"
#include "platform/qt/qt_app_info.h"
#include "platform/qt/qt_common_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_mouse_pointer.h"

namespace vellumark {

// The Qt program's platform services, alive for the whole run.
struct QtServices {
  LocalFileSystem files;
  QtMessageBox messages;
  QtApplicationPointer appPointer;
  BusyIndicator busy{appPointer};
  QtCommonDialog dialog;
  QtAppInfo app;

  // The window the dialogs and message boxes belong to.
  void SetOwner(QWidget& window) {
    messages.SetOwner(&window);
    dialog.SetOwner(&window);
  }
};

}  // namespace vellumark
