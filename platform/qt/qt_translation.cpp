#include "platform/qt/qt_translation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vellumark {

void InstallChineseTranslation(QApplication& app) {
  auto* translator = new QTranslator(&app);
  // Without the translation package Qt's texts stay in English; the program's
  // own texts are not affected.
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

}  // namespace vellumark
