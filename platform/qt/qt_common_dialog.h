#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/common_dialog.h"

namespace vellumark {

// The common file dialog as Qt's own file dialog, in the program's language.
class QtCommonDialog : public CommonDialog {
public:
  // The dialog is centred over the owner and belongs to it.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void ShowOpen() override;
  void ShowSave() override;

private:
  void Show(bool forSaving);

  QPointer<QWidget> owner_;
};

// A file's size as the dialog's size column shows it: "566 B", "1.50 KB",
// "2.00 MB", in the program's locale.
QString FileSizeText(qint64 bytes);

// "label|pat1;pat2" as a Qt name filter whose patterns Qt can read, with the
// label kept as written: "label (pat1 pat2)".
QString QtNameFilter(const std::string& filter);

}  // namespace vellumark
