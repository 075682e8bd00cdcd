#pragma once

namespace vellumark {

// The two pointer shapes the program uses; the values are the pointer codes the
// commands are written against.
enum class PointerShape { Default = 0, Hourglass = 11 };

// One mouse pointer: the application-wide one, or a single window's own.
class MousePointer {
public:
  virtual ~MousePointer() = default;
  virtual void SetShape(PointerShape shape) = 0;
};

}  // namespace vellumark
