#include "ui/qt/program_icon.h"

#include <QString>

namespace vellumark {

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/icons/%1x%1/apps/vellumark.png").arg(size));
  }
  return icon;
}

}  // namespace vellumark
