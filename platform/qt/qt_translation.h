#pragma once

class QApplication;

namespace vellumark {

// Qt's own buttons and dialogs in Simplified Chinese, like the rest of the program.
void InstallChineseTranslation(QApplication& app);

}  // namespace vellumark
