#include "platform/qt/qt_translation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vellumark {

namespace {

// Where the program's own words win over Qt's catalogue: the file dialog's size
// column is "大小" in Chinese file managers, not "体积".
struct Correction {
  const char* context;
  const char* sourceText;
  const char* text;
};
constexpr Correction kCorrections[] = {
    {"QFileSystemModel", "Size", "大小"},
};

// Qt 6 asks for the file dialog's type names ("Folder", "Drive") under the
// context QAbstractFileIconProvider, which the Chinese catalogue Debian ships
// still files under QFileDialog.
class QtCatalogue : public QTranslator {
public:
  using QTranslator::QTranslator;

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override {
    for (const Correction& correction : kCorrections) {
      if (qstrcmp(context, correction.context) == 0 && qstrcmp(sourceText, correction.sourceText) == 0) {
        return QString::fromUtf8(correction.text);
      }
    }
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && qstrcmp(context, "QAbstractFileIconProvider") == 0) {
      text = QTranslator::translate("QFileDialog", sourceText, nullptr, n);
    }
    return text;
  }
};

}  // namespace

void InstallChineseTranslation(QApplication& app) {
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  QLocale::setDefault(chinese);
  // "qt" names all of Qt's catalogues, qtbase among them. Without the
  // translation package Qt's texts stay in English; the program's own texts are
  // not affected.
  auto* catalogue = new QtCatalogue(&app);
  if (catalogue->load(chinese, QStringLiteral("qt"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(catalogue);
  }
}

}  // namespace vellumark
