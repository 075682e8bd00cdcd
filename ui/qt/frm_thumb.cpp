#include "ui/qt/frm_thumb.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

#include "platform/qt/qt_title_bar.h"
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

FrmThumb::FrmThumb()
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("FrmThumb"));
  setWindowTitle(QString::fromUtf8(window_text::kThumbCaption.data(),
                                   static_cast<qsizetype>(window_text::kThumbCaption.size())));
  setModal(true);
}

void FrmThumb::ShowModal(const JfifThumbnail* picture) {
  const ThumbnailLayout layout = LayoutThumbnail(picture, TitleBarWidth(windowTitle()));
  picture_ = picture != nullptr ? ToImage(*picture) : QImage();
  scale_ = layout.scale;
  setFixedSize(layout.clientWidth, layout.clientHeight);
  exec();
}

// Some window managers (openbox) offer a minimise button whatever the window
// asks for. Minimised, this modal window would leave the main window blocked
// with no way back to it, so it comes straight back.
void FrmThumb::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) {
    QTimer::singleShot(0, this, &QWidget::showNormal);
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
