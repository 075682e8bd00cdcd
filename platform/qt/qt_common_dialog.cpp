#include "platform/qt/qt_common_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include <iterator>

#include "platform/runtime_error.h"

namespace vellumark {

namespace {

// The columns of the dialog's detail view, as QFileSystemModel numbers them.
constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// A dialog wide enough for the name column at Qt's own width beside the other
// three, in lines of its text: Chinese sizes, types and dates are wider than
// the English samples Qt measures its columns by.
constexpr int kDialogWidthInLines = 45;
constexpr int kDialogHeightInLines = 28;

// QFileSystemModel writes sizes and dates in the system's locale, which need not
// be Chinese when the rest of the dialog is; these come in the program's.
class DetailsInProgramLocale : public QIdentityProxyModel {
public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr) {
      return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex file = mapToSource(index);
    if (index.column() == kSizeColumn && !files->isDir(file)) {
      return FileSizeText(files->size(file));
    }
    if (index.column() == kDateColumn) {
      return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
  }
};

// Sizes, types and dates take the width of what they show; the name takes the
// rest of the dialog.
void FitColumns(QFileDialog& dialog) {
  if (auto* view = dialog.findChild<QTreeView*>(); view != nullptr) {
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  }
  const int line = dialog.fontMetrics().height();
  dialog.resize(dialog.sizeHint().expandedTo(QSize(kDialogWidthInLines, kDialogHeightInLines) * line));
}

// A full path whose folder is gone (a save that failed) would be shown as a
// name relative to the dialog's folder; the name alone is what the user chose.
QString InitialSelection(const QString& fileName) {
  const QFileInfo file(fileName);
  return file.absoluteDir().exists() ? fileName : file.fileName();
}

}  // namespace

// One style for every size, as the file managers of Chinese systems write them,
// rather than Qt's mix of "字节" and IEC "KiB".
QString FileSizeText(qint64 bytes) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB"};
  if (bytes < 1024) {
    return QLocale().toString(bytes) + QStringLiteral(" B");
  }
  double size = static_cast<double>(bytes);
  std::size_t unit = 0;
  while (size >= 1024 && unit + 1 < std::size(kUnits)) {
    size /= 1024;
    ++unit;
  }
  return QLocale().toString(size, 'f', 2) + u' ' + QLatin1StringView(kUnits[unit]);
}

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
  dialog.setProxyModel(new DetailsInProgramLocale(&dialog));
  FitColumns(dialog);
  if (!InitDir.empty()) {
    dialog.setDirectory(QString::fromStdString(InitDir));
  }
  if (!FileName.empty()) {
    dialog.selectFile(InitialSelection(QString::fromStdString(FileName)));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    throw MakeError(error_number::kCancelled);
  }
  FileName = dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace vellumark
