#pragma once

#include "platform/message_box.h"

namespace vellumark {

// MessageBoxW, modal to the active window, with an OK button only.
class Win32MessageBox : public MessageBox {
public:
  void Show(const std::string& prompt, const std::string& title, MessageIcon icon) override;
};

}  // namespace vellumark
