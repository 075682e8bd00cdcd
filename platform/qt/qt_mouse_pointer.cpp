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
    // Once: a second hourglass would take the first for the children's own.
    if (ownPointers_.empty()) {
      for (QWidget* child : window_.findChildren<QWidget*>()) {
        if (child->testAttribute(Qt::WA_SetCursor)) {
          ownPointers_.push_back({child, child->cursor()});
          child->setCursor(Qt::WaitCursor);
        }
      }
    }
    window_.setCursor(Qt::WaitCursor);
    return;
  }
  for (const OwnPointer& own : ownPointers_) {
    if (own.widget) {
      own.widget->setCursor(own.cursor);
    }
  }
  ownPointers_.clear();
  window_.unsetCursor();
}

}  // namespace vellumark
