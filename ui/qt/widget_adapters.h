#pragma once

#include "ui/commands/window_parts.h"

class QAction;
class QWidget;

namespace vellumark {

// A check-mark menu item. Qt flips an action's check mark on its own before the
// command runs; the state the commands see is kept here, so a command that flips
// it sets the same mark Qt shows.
class QtCheckItem : public CheckItem {
public:
  explicit QtCheckItem(QAction& action) : action_(action) {}
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override;

private:
  QAction& action_;
  bool checked_ = false;
};

class QtMainWindow : public MainWindow {
public:
  explicit QtMainWindow(QWidget& window) : window_(window) {}
  void Close() override;

private:
  QWidget& window_;
};

}  // namespace vellumark
