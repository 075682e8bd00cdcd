#include "ui/qt/frm_main.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>

#include "platform/qt/qt_mouse_pointer.h"
#include "ui/qt/frm_thumb.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/report_box.h"
#include "ui/qt/widget_adapters.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

// The client area a new window gets, in device-independent pixels (Qt scales
// them on high-DPI screens).
constexpr int kInitialClientWidth = 312;
constexpr int kInitialClientHeight = 206;

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FrmMain::FrmMain(PlatformServices services) {
  setWindowTitle(Text(window_text::kMainCaption));
  setWindowIcon(ProgramIcon());
  CreateControls();
  CreateMenus();
  acOption_ = std::make_unique<QtCheckItem>(*mnuShowACH_);
  windowPointer_ = std::make_unique<QtWindowPointer>(*this);
  window_ = std::make_unique<QtMainWindow>(*this);
  commands_ = std::make_unique<MainCommands>(
      MainWindowParts{*window_, *txtInfo_, *acOption_, *windowPointer_,
                      [this] { return std::make_unique<FrmThumb>(*this); }},
      services);
  commands_->Form_Initialize();
  commands_->Form_Load();
  resize(kInitialClientWidth, kInitialClientHeight + menuBar()->sizeHint().height());
}

FrmMain::~FrmMain() = default;

void FrmMain::CreateControls() {
  clientArea_ = new QWidget(this);
  clientArea_->setObjectName(QStringLiteral("clientArea"));
  clientArea_->installEventFilter(this);
  setCentralWidget(clientArea_);
  txtInfo_ = new QtReportBox(clientArea_);
  txtInfo_->setObjectName(QStringLiteral("TxtInfo"));
  txtInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtInfo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtInfo_->setFocus();
}

void FrmMain::CreateMenus() {
  QMenu* file = menuBar()->addMenu(Text(window_text::kMenuFile));
  file->setObjectName(QStringLiteral("mnuFile"));
  AddItem(file, "mnuOpen", window_text::kMenuOpen, &MainCommands::mnuOpen_Click)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  AddSeparator(file, "mnuSep0_0");
  AddItem(file, "mnuSave", window_text::kMenuSave, &MainCommands::mnuSave_Click)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  AddSeparator(file, "mnuSep0_1");
  AddItem(file, "mnuQuit", window_text::kMenuQuit, &MainCommands::mnuQuit_Click);

  QMenu* view = menuBar()->addMenu(Text(window_text::kMenuView));
  view->setObjectName(QStringLiteral("mnuView"));
  mnuShowACH_ = AddItem(view, "mnuShowACH", window_text::kMenuShowAcHuffman, &MainCommands::mnuShowACH_Click);
  mnuShowACH_->setCheckable(true);
  AddSeparator(view, "mnuSep1_0");
  AddItem(view, "mnuThumb", window_text::kMenuThumb, &MainCommands::mnuThumb_Click)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  AddSeparator(view, "mnuSep1_1");
  AddItem(view, "mnuRefresh", window_text::kMenuRefresh, &MainCommands::mnuRefresh_Click)
      ->setShortcut(QKeySequence(Qt::Key_F5));

  QMenu* help = menuBar()->addMenu(Text(window_text::kMenuHelp));
  help->setObjectName(QStringLiteral("mnuHelp"));
  AddItem(help, "mnuAbout", window_text::kMenuAbout, &MainCommands::mnuAbout_Click);
}

QAction* FrmMain::AddItem(QMenu* menu, const char* name, std::string_view caption,
                          void (MainCommands::*command)()) {
  QAction* action = menu->addAction(Text(caption));
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, [this, command] { (commands_.get()->*command)(); });
  return action;
}

void FrmMain::AddSeparator(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == clientArea_ && event->type() == QEvent::Resize) {
    Form_Resize();
  }
  return QMainWindow::eventFilter(watched, event);
}

// The text box is the window's only place for keys: whatever had them before
// (the menu bar after Esc, a dialog, a box), they come back to it.
void FrmMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    Form_Resize();
  }
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    txtInfo_->setFocus(Qt::ActiveWindowFocusReason);
  }
  QMainWindow::changeEvent(event);
}

// The text box always covers the whole client area; its own scroll bars do the
// scrolling. A minimised window keeps the box where it was.
void FrmMain::Form_Resize() {
  if (isMinimized()) {
    return;
  }
  txtInfo_->setGeometry(0, 0, clientArea_->width(), clientArea_->height());
}

}  // namespace vellumark
