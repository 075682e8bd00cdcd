#include "platform/qt/qt_message_box.h"

#include <QGridLayout>
#include <QMessageBox>

#include "platform/qt/qt_title_bar.h"
#include "version.h"

namespace vellumark {

namespace {

// QMessageBox sizes itself to its prompt and buttons, and a short prompt leaves
// the title cut to "…"; an error's number is its title and shown nowhere else.
// A spacer as wide as the title needs makes the box size itself to that too.
void MakeRoomForTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) {
    return;
  }
  const QMargins margins = grid->contentsMargins();
  const int width = TitleBarWidth(box.windowTitle()) - margins.left() - margins.right();
  grid->addItem(new QSpacerItem(width, 0), grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void QtMessageBox::Show(const std::string& prompt, const std::string& title, MessageIcon icon) {
  const QString caption = QString::fromStdString(title.empty() ? version::kProductName : title);
  // Prompts keep CR LF like the rest of the program's text; a label wants LF.
  QString text = QString::fromStdString(prompt);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  const auto qtIcon = icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
  QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  MakeRoomForTitle(box);
  box.exec();
}

}  // namespace vellumark
