#pragma once

#include "platform/mouse_pointer.h"

namespace vellumark {

// A pointer shape that holds until it is set again. Windows asks each window for
// its pointer whenever the mouse moves (WM_SETCURSOR); the windows answer with
// Cursor() where Holds() says a shape of the program's own is in force.
class Win32MousePointer : public MousePointer {
public:
  void SetShape(PointerShape shape) override;
  bool Holds() const { return shape_ != PointerShape::Default; }
  // The cursor handle for the current shape.
  void* Cursor() const;

private:
  PointerShape shape_ = PointerShape::Default;
};

}  // namespace vellumark
