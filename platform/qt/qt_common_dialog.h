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

// "label|pat1;pat2" as a Qt name filter whose patterns Qt can read, with the
// label kept as written: "label (pat1 pat2)".
QString QtNameFilter(const std::string& filter);

}  // namespace vellumark
