#include "common/busy.h"

namespace vellumark {

void BusyIndicator::BeginBusy() {
  if (depth_ == 0) {
    pointer_.SetShape(PointerShape::Hourglass);
  }
  ++depth_;
}

void BusyIndicator::EndBusy() {
  if (depth_ <= 0) {
    return;
  }
  --depth_;
  if (depth_ == 0) {
    pointer_.SetShape(PointerShape::Default);
  }
}

}  // namespace vellumark
