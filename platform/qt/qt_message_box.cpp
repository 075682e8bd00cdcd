#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "version.h"

namespace vellumark {

void QtMessageBox::Show(const std::string& prompt, const std::string& title, MessageIcon icon) {
  const QString caption = QString::fromStdString(title.empty() ? version::kProductName : title);
  // Prompts keep CR LF like the rest of the program's text; a label wants LF.
  QString text = QString::fromStdString(prompt);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const auto qtIcon = icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
  QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace vellumark
