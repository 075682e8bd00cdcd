#pragma once

class QApplication;

namespace vellumark {

// Qt's own buttons and dialogs in Simplified Chinese, like the rest of the
// program: every Qt catalogue, and Chinese names, sizes and dates whatever the
// system's locale.
void InstallChineseTranslation(QApplication& app);

}  // namespace vellumark
