#include "ui/qt/widget_adapters.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace vellumark {

void QtReportView::SetText(std::string utf8) {
  QString text = QString::fromStdString(utf8);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box_.setPlainText(text);
}

std::string QtReportView::Text() const {
  // The raw text, not toPlainText(), which would turn no-break spaces the user
  // typed into plain ones.
  QString text = box_.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

void QtCheckItem::SetChecked(bool checked) {
  checked_ = checked;
  action_.setChecked(checked);
}

void QtMainWindow::Close() { window_.close(); }

}  // namespace vellumark
