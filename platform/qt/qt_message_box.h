#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/message_box.h"

namespace vellumark {

// QMessageBox over the program's main window, wide enough for its whole title;
// an empty title shows the program's name.
class QtMessageBox : public MessageBox {
public:
  // Boxes are centred over the owner and belong to it; none has an owner before
  // it is set.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void Show(const std::string& prompt, const std::string& title, MessageIcon icon) override;

private:
  QPointer<QWidget> owner_;
};

}  // namespace vellumark
