#include "platform/qt/qt_common_dialog.h"

#include <QFileDialog>

#include "platform/runtime_error.h"

namespace vellumark {

QString QtNameFilter(const std::string& filter) {
  const QString text = QString::fromStdString(filter);
  const qsizetype bar = text.indexOf(u'|');
  if (bar < 0) {
    return text;
  }
  QString patterns = text.mid(bar + 1);
  patterns.replace(u';', u' ');
  return text.left(bar) + QStringLiteral(" (") + patterns + u')';
}

void QtCommonDialog::ShowOpen() { Show(false); }

void QtCommonDialog::ShowSave() { Show(true); }

void QtCommonDialog::Show(bool forSaving) {
  QFileDialog dialog(owner_);
  // Qt's own dialog: it speaks the program's language wherever it runs.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The patterns are already part of the label; do not show them twice.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode((Flags & kFileMustExist) != 0 ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (Flags & kOverwritePrompt) == 0);
  dialog.setNameFilter(QtNameFilter(Filter));
  if (!InitDir.empty()) {
    dialog.setDirectory(QString::fromStdString(InitDir));
  }
  if (!FileName.empty()) {
    dialog.selectFile(QString::fromStdString(FileName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    throw MakeError(error_number::kCancelled);
  }
  FileName = dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace vellumark
