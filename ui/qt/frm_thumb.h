#pragma once

#include <QDialog>
#include <QImage>

#include "ui/commands/thumb_commands.h"

namespace vellumark {

// The thumbnail window: a fixed-size tool window with a close button only, not
// in the task bar, as wide as its title needs, showing the thumbnail enlarged
// with crisp pixels. It blocks the whole program while it is up, and the window
// system keeps it with the main window: minimising one minimises both.
class FrmThumb : public QDialog, public ThumbnailWindow {
  Q_OBJECT

public:
  explicit FrmThumb(QWidget& mainWindow);
  void ShowModal(const JfifThumbnail* picture) override;

  // What is drawn, for tests and screenshots.
  const QImage& Picture() const { return picture_; }
  int Scale() const { return scale_; }

protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QWidget& mainWindow_;
  QImage picture_;
  int scale_ = 1;
};

}  // namespace vellumark
