#include "ui/qt/frm_thumb.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "platform/qt/qt_title_bar.h"
#include "ui/qt/program_icon.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

QImage ToImage(const JfifThumbnail& thumbnail) {
  QImage image(thumbnail.width, thumbnail.height, QImage::Format_RGB888);
  const auto rowBytes = static_cast<std::size_t>(thumbnail.width) * 3;
  for (int y = 0; y < thumbnail.height; ++y) {
    std::copy_n(thumbnail.rgb.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes, image.scanLine(y));
  }
  return image;
}

}  // namespace

// No parent widget, so Qt neither centres the window over the main window nor
// ties its lifetime to it; only the window system learns whose it is.
FrmThumb::FrmThumb(QWidget& mainWindow)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("FrmThumb"));
  setWindowTitle(QString::fromUtf8(window_text::kThumbCaption.data(),
                                   static_cast<qsizetype>(window_text::kThumbCaption.size())));
  setWindowIcon(ProgramIcon());
  setModal(true);
}

void FrmThumb::ShowModal(const JfifThumbnail* picture) {
  const ThumbnailLayout layout = LayoutThumbnail(picture, TitleBarWidth(windowTitle()));
  picture_ = picture != nullptr ? ToImage(*picture) : QImage();
  scale_ = layout.scale;
  setFixedSize(layout.clientWidth, layout.clientHeight);
  // Transient for the main window rather than for the program as a whole: the
  // window manager then minimises and restores the two together.
  winId();
  windowHandle()->setTransientParent(mainWindow_.windowHandle());
  exec();
  if (mainWindow_.isMinimized()) {
    mainWindow_.showNormal();
  }
  mainWindow_.raise();
  mainWindow_.activateWindow();
}

// Some window managers (openbox) offer a minimise button whatever the window
// asks for. Minimised while the main window is not, this modal window would
// leave the main window blocked with no way back to it, so it comes straight
// back; minimised with the main window, both come back together.
void FrmThumb::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) {
    QTimer::singleShot(0, this, [this] {
      if (isMinimized() && !mainWindow_.isMinimized()) {
        showNormal();
      }
    });
  }
}

void FrmThumb::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) {
    return;
  }
  QPainter painter(this);
  // Nearest-neighbour enlargement: each thumbnail pixel becomes a square.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QSize size = picture_.size() * scale_;
  const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  painter.drawImage(target, picture_);
}

}  // namespace vellumark
