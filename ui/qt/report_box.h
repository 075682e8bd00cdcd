#pragma once

#include <QPlainTextEdit>

#include "ui/commands/window_parts.h"

namespace vellumark {

class QtReportLayout;

// The report text box. The program's text has CR LF line ends; the box keeps
// each marker's block of lines as one paragraph, the lines within it joined by
// line separators, and gives back CR LF for both. Qt's box spends about the same
// on every paragraph, however long, so a report takes in a third of the time and
// memory it would as one paragraph per line; it reads, copies and saves the same.
class QtReportBox : public QPlainTextEdit, public ReportView {
  Q_OBJECT

public:
  explicit QtReportBox(QWidget* parent);

  void SetText(std::string utf8) override;
  std::string Text() const override;
  std::size_t Capacity() const override;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  QtReportLayout* layout_;
};

}  // namespace vellumark
