#include "platform/win32/win32_mouse_pointer.h"

#include <windows.h>

namespace vellumark {

void* Win32MousePointer::Cursor() const {
  return LoadCursorW(nullptr, shape_ == PointerShape::Hourglass ? IDC_WAIT : IDC_ARROW);
}

// The new shape shows at once, not only at the next mouse move: the work that
// wants the hourglass runs without taking messages.
void Win32MousePointer::SetShape(PointerShape shape) {
  shape_ = shape;
  SetCursor(static_cast<HCURSOR>(Cursor()));
}

}  // namespace vellumark
