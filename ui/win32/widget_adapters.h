#pragma once

#include <windows.h>

#include "ui/commands/window_parts.h"

namespace vellumark {

// The report text box, an EDIT control. Its text is UTF-16 with CR LF line ends,
// so only the character encoding is translated on the way in and out.
class Win32ReportView : public ReportView {
public:
  explicit Win32ReportView(HWND edit) : edit_(edit) {}
  void SetText(std::string utf8) override;
  std::string Text() const override;
  std::size_t Capacity() const override;

private:
  HWND edit_;
};

// A menu item with a check mark; the menu itself holds the state.
class Win32CheckItem : public CheckItem {
public:
  Win32CheckItem(HMENU menu, UINT id) : menu_(menu), id_(id) {}
  bool Checked() const override;
  void SetChecked(bool checked) override;

private:
  HMENU menu_;
  UINT id_;
};

class Win32MainWindow : public MainWindow {
public:
  explicit Win32MainWindow(HWND window) : window_(window) {}
  void Close() override;

private:
  HWND window_;
};

}  // namespace vellumark
