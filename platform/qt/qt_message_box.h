#pragma once

#include "platform/message_box.h"

namespace vellumark {

// QMessageBox over the active window; an empty title shows the program's name.
class QtMessageBox : public MessageBox {
public:
  void Show(const std::string& prompt, const std::string& title, MessageIcon icon) override;
};

}  // namespace vellumark
