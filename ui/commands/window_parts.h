#pragma once

#include <cstddef>
#include <string>

namespace vellumark {

// The report text box: the whole report, lines ending in CR LF.
class ReportView {
public:
  virtual ~ReportView() = default;
  virtual void SetText(std::string utf8) = 0;
  virtual std::string Text() const = 0;
  // The most report text, in bytes, the box takes in while the window stays
  // quick to show it; a longer report is cut with a line saying where.
  virtual std::size_t Capacity() const = 0;
};

// A menu item with a check mark.
class CheckItem {
public:
  virtual ~CheckItem() = default;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

// The main window itself, as far as the commands need it.
class MainWindow {
public:
  virtual ~MainWindow() = default;
  virtual void Close() = 0;
};

}  // namespace vellumark
