#pragma once

#include <QMainWindow>

#include <memory>

#include "ui/commands/main_commands.h"

class QAction;
class QMenu;

namespace vellumark {

class QtCheckItem;
class QtMainWindow;
class QtReportBox;
class QtWindowPointer;

// The main window: a text box filling the client area under the menu bar. Its
// events go to MainCommands; it holds no behaviour of its own beyond layout.
class FrmMain : public QMainWindow {
  Q_OBJECT

public:
  explicit FrmMain(PlatformServices services);
  ~FrmMain() override;

  QtReportBox* TxtInfo() const { return txtInfo_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void CreateControls();
  void CreateMenus();
  QAction* AddItem(QMenu* menu, const char* name, std::string_view caption, void (MainCommands::*command)());
  void AddSeparator(QMenu* menu, const char* name);
  void Form_Resize();

  QWidget* clientArea_ = nullptr;
  QtReportBox* txtInfo_ = nullptr;
  QAction* mnuShowACH_ = nullptr;
  std::unique_ptr<QtCheckItem> acOption_;
  std::unique_ptr<QtWindowPointer> windowPointer_;
  std::unique_ptr<QtMainWindow> window_;
  std::unique_ptr<MainCommands> commands_;
};

}  // namespace vellumark
