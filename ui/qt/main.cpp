#include <QApplication>

#include "platform/qt/qt_services.h"
#include "platform/qt/qt_translation.h"
#include "ui/qt/frm_main.h"
#include "version.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(vellumark::version::kProductName));
  vellumark::InstallChineseTranslation(app);
  vellumark::QtServices services;
  vellumark::FrmMain window({services.files, services.messages, services.busy, services.dialog, services.app});
  services.SetOwner(window);
  window.show();
  return QApplication::exec();
}
