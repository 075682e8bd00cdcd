#pragma once

#include "ui/commands/window_parts.h"

class QAction;
class QPlainTextEdit;
class QWidget;

namespace vellumark {

// The report text box. The program's text has CR LF line ends; the widget keeps
// paragraphs, so line ends are translated on the way in and out.
class QtReportView : public ReportView {
public:
  explicit QtReportView(QPlainTextEdit& box) : box_(box) {}
  void SetText(std::string utf8) override;
  std::string Text() const override;

private:
  QPlainTextEdit& box_;
};

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
