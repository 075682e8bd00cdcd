#include "platform/qt/qt_mouse_pointer.h"

#include <QApplication>
#include <QWidget>

namespace vellumark {

void QtApplicationPointer::SetShape(PointerShape shape) {
  if (shape == PointerShape::Hourglass) {
    if (QApplication::overrideCursor() != nullptr) {
      QApplication::changeOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    return;
  }
  // The default shape, whatever anything else had stacked up before.
  while (QApplication::overrideCursor() != nullptr) {
    QApplication::restoreOverrideCursor();
  }
}

void QtWindowPointer::SetShape(PointerShape shape) {
  if (shape == PointerShape::Hourglass) {
    window_.setCursor(Qt::WaitCursor);
  } else {
    window_.unsetCursor();
  }
}

}  // namespace vellumark
