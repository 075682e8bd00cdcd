#pragma once

#include "common/busy.h"
#include "platform/app_info.h"
#include "platform/common_dialog.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace vellumark {

// What the program gets from the operating system, for the whole run.
struct PlatformServices {
  FileSystem& files;
  MessageBox& messages;
  BusyIndicator& busy;
  CommonDialog& dialog;
  const AppInfo& app;
};

}  // namespace vellumark
