#include "platform/qt/qt_title_bar.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace vellumark {

namespace {

// The window icon and three buttons, each about one and a half times as wide as
// the title font is high (openbox takes some 110 pixels beside a 19-pixel font).
constexpr int kFrameWidthInFontHeights = 6;

}  // namespace

int TitleBarWidth(const QString& caption) {
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
  return metrics.horizontalAdvance(caption) + kFrameWidthInFontHeights * metrics.height();
}

}  // namespace vellumark
