#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <vector>

#include "platform/mouse_pointer.h"

namespace vellumark {

// The pointer over every window of the program.
class QtApplicationPointer : public MousePointer {
public:
  void SetShape(PointerShape shape) override;
};

// One window's own pointer, over everything inside the window: a child with a
// pointer of its own (a text box's I-beam) shows the window's hourglass too, and
// gets its own pointer back with the default shape.
class QtWindowPointer : public MousePointer {
public:
  explicit QtWindowPointer(QWidget& window) : window_(window) {}
  void SetShape(PointerShape shape) override;

private:
  struct OwnPointer {
    QPointer<QWidget> widget;
    QCursor cursor;
  };

  QWidget& window_;
  std::vector<OwnPointer> ownPointers_;
};

}  // namespace vellumark
