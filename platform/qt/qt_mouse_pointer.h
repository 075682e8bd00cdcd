#pragma once

#include "platform/mouse_pointer.h"

class QWidget;

namespace vellumark {

// The pointer over every window of the program.
class QtApplicationPointer : public MousePointer {
public:
  void SetShape(PointerShape shape) override;
};

// One window's own pointer.
class QtWindowPointer : public MousePointer {
public:
  explicit QtWindowPointer(QWidget& window) : window_(window) {}
  void SetShape(PointerShape shape) override;

private:
  QWidget& window_;
};

}  // namespace vellumark
