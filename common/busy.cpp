#include "common/busy.h"

namespace vellumark {

void BusyIndicator::BeginBusy() {
  if (depth_ == 0) {
    pointer_.ShowBusy(true);
  }
  ++depth_;
}

void BusyIndicator::EndBusy() {
  if (depth_ <= 0) {
    return;
  }
  --depth_;
  if (depth_ == 0) {
    pointer_.ShowBusy(false);
  }
}

}  // namespace vellumark
