#pragma once

#include "common/busy.h"

namespace vellumark {

// The two pointer shapes the program uses; the values are the pointer codes the
// commands are written against.
enum class PointerShape { Default = 0, Hourglass = 11 };

// One mouse pointer: the application-wide one, or a single window's own. Busy
// is the hourglass, not busy the default arrow.
class MousePointer : public BusyDisplay {
public:
  virtual void SetShape(PointerShape shape) = 0;
  void ShowBusy(bool busy) final { SetShape(busy ? PointerShape::Hourglass : PointerShape::Default); }
};

}  // namespace vellumark
