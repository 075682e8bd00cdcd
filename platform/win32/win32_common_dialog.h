#pragma once

#include <string>

#include "platform/common_dialog.h"

namespace vellumark {

// GetOpenFileNameW and GetSaveFileNameW, with the flags passed as they are: the
// commands' values are the dialog's own.
class Win32CommonDialog : public CommonDialog {
public:
  // owner is the HWND of the window the dialog belongs to and keeps from input.
  void SetOwner(void* owner) { owner_ = owner; }
  void ShowOpen() override;
  void ShowSave() override;

private:
  void Show(bool forSaving);

  void* owner_ = nullptr;
};

// "label|patterns|label|patterns" as the dialog takes it: every part ended by a
// NUL, the list by one more.
std::wstring Win32Filter(const std::string& filter);

}  // namespace vellumark
