#pragma once

#include "platform/message_box.h"

namespace vellumark {

// MessageBoxW, with an OK button only, modal to the program's main window.
class Win32MessageBox : public MessageBox {
public:
  // owner is the HWND of the window the boxes are centred over and keep from
  // input, even when the program is not in the foreground and no window of it
  // is active.
  void SetOwner(void* owner) { owner_ = owner; }
  void Show(const std::string& prompt, const std::string& title, MessageIcon icon) override;

private:
  void* owner_ = nullptr;
};

}  // namespace vellumark
