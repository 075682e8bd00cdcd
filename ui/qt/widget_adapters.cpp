#include "ui/qt/widget_adapters.h"

#include <QAction>
#include <QWidget>

namespace vellumark {

void QtCheckItem::SetChecked(bool checked) {
  checked_ = checked;
  action_.setChecked(checked);
}

void QtMainWindow::Close() { window_.close(); }

}  // namespace vellumark
