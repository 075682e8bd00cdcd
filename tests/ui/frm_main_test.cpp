// The Qt main window and thumbnail window, offscreen, over fake dialogs and
// message boxes and the real file system.
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>

#include "analysis/marker_catalogue.h"
#include "platform/ansi_text.h"
#include "platform/local_file_system.h"
#include "platform/qt/qt_common_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_title_bar.h"
#include "platform/qt/qt_translation.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/files.h"
#include "tests/support/jpeg_builder.h"
#include "tests/support/report.h"
#include "ui/qt/frm_main.h"
#include "ui/qt/report_box.h"
#include "ui/qt/frm_thumb.h"

namespace vellumark {

using testing::Bytes;
using testing::FakeAppInfo;
using testing::FakeCommonDialog;
using testing::FakeMessageBox;
using testing::FakeMousePointer;
using testing::JpegBuilder;
using testing::TempDir;

namespace {

QString Unix(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

void WriteAll(const std::string& path, const Bytes& bytes) {
  testing::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}

// SOI, a DQT table of ones, EOI: a short file with Chinese labels in its report.
Bytes SmallJpeg() {
  Bytes table{0x00};
  table.resize(65, 1);
  return JpegBuilder().Marker(marker::kSoi).Segment(marker::kDqt, table).Marker(marker::kEoi).Build();
}

// The real files, with a look at the window while the report is written.
struct WatchedFiles : LocalFileSystem {
  void WriteText(const std::string& path, std::string_view utf8Text) override {
    if (onWrite) {
      onWrite();
    }
    LocalFileSystem::WriteText(path, utf8Text);
  }
  std::function<void()> onWrite;
};

struct Rig {
  WatchedFiles files;
  FakeMessageBox messages;
  FakeMousePointer appPointer;
  BusyIndicator busy{appPointer};
  FakeCommonDialog dialog;
  FakeAppInfo app;
  FrmMain window{PlatformServices{files, messages, busy, dialog, app}};

  QAction* Action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
};

}  // namespace

class FrmMainTest : public QObject {
  Q_OBJECT

private slots:
  void startsWithTheCodeTable() {
    Rig rig;
    QCOMPARE(rig.window.TxtInfo()->toPlainText(), Unix(MarkerCodeTable()));
    QVERIFY(!rig.Action("mnuShowACH")->isChecked());
  }

  void captionAndClientArea() {
    Rig rig;
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QCOMPARE(rig.window.windowTitle(), QString("JPEG文件格式分析工具"));
    QCOMPARE(rig.window.centralWidget()->size(), QSize(312, 206));
    QCOMPARE(rig.window.TxtInfo()->geometry(), rig.window.centralWidget()->rect());
    QVERIFY(rig.window.TxtInfo()->hasFocus());
    QVERIFY(!rig.window.windowIcon().isNull());
  }

  void menus_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shortcuts");
    QTest::newRow("file") << "文件(&F)"
                          << QStringList{"mnuOpen", "mnuSep0_0", "mnuSave", "mnuSep0_1", "mnuQuit"}
                          << QStringList{"打开(&O)...", "", "保存(&S)...", "", "退出(&Q)\tAlt+F4"}
                          << QStringList{"Ctrl+O", "", "Ctrl+S", "", ""};
    QTest::newRow("view") << "察看(&V)"
                          << QStringList{"mnuShowACH", "mnuSep1_0", "mnuThumb", "mnuSep1_1", "mnuRefresh"}
                          << QStringList{"AC的Huffman表", "", "缩略图(&T)", "", "刷新(&R)"}
                          << QStringList{"", "", "Ctrl+T", "", "F5"};
    QTest::newRow("help") << "帮助(&H)" << QStringList{"mnuAbout"} << QStringList{"关于(&A)"}
                          << QStringList{""};
  }

  void menus() {
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shortcuts);
    Rig rig;
    QMenu* found = nullptr;
    for (QAction* top : rig.window.menuBar()->actions()) {
      if (top->text() == menu) {
        found = top->menu();
      }
    }
    QVERIFY(found != nullptr);
    const QList<QAction*> actions = found->actions();
    QCOMPARE(actions.size(), items.size());
    for (qsizetype i = 0; i < actions.size(); ++i) {
      QCOMPARE(actions[i]->objectName(), items[i]);
      QCOMPARE(actions[i]->isSeparator(), captions[i].isEmpty());
      QCOMPARE(actions[i]->text(), captions[i]);
      QCOMPARE(actions[i]->shortcut().toString(), shortcuts[i]);
      QVERIFY(actions[i]->isEnabled());
    }
  }

  // The box keeps lines grouped in paragraphs; what it shows, gives back and
  // counts for its scroll bar are the lines as they came.
  void reportBoxKeepsTheLines_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("report") << QString::fromStdString(testing::AnalyseBytes(SmallJpeg()).report);
    QTest::newRow("a block longer than a paragraph") << QString("位置:1(0h)\r\n").repeated(200);
    QTest::newRow("empty lines in a row") << "\r\n\r\nA\r\n\r\n\r\nB\r\n\r\n";
    QTest::newRow("no line end at the end") << "A\r\nB";
  }

  void reportBoxKeepsTheLines() {
    QFETCH(QString, text);
    QtReportBox box(nullptr);
    box.SetText(text.toStdString());
    QCOMPARE(QString::fromStdString(box.Text()), text);
    QCOMPARE(box.toPlainText(), Unix(text.toStdString()));
    QCOMPARE(box.document()->lineCount(), text.count("\r\n") + 1);
    box.show();
    box.resize(box.width() + 40, box.height());  // a new width: Qt lays out afresh
    QCOMPARE(box.document()->lineCount(), text.count("\r\n") + 1);
  }

  void acOptionTogglesTheCheckMarkOnly() {
    Rig rig;
    const QString before = rig.window.TxtInfo()->toPlainText();
    rig.Action("mnuShowACH")->trigger();
    QVERIFY(rig.Action("mnuShowACH")->isChecked());
    rig.Action("mnuShowACH")->trigger();
    QVERIFY(!rig.Action("mnuShowACH")->isChecked());
    QCOMPARE(rig.window.TxtInfo()->toPlainText(), before);
  }

  void ctrlOOpensAndReports() {
    TempDir dir;
    WriteAll(dir / "a.jpg", SmallJpeg());
    Rig rig;
    rig.dialog.answers = {dir / "a.jpg"};
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QTest::keyClick(&rig.window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(rig.dialog.showings.size(), size_t{1});
    QCOMPARE(rig.window.TxtInfo()->toPlainText(), Unix(testing::AnalyseBytes(SmallJpeg()).report));
    QVERIFY(rig.messages.shown.empty());
  }

  // What is saved is the box's text with CR LF line ends, in GBK, no BOM,
  // replacing the file that was there.
  void saveWritesTheTextInGbk() {
    TempDir dir;
    WriteAll(dir / "a.jpg", SmallJpeg());
    WriteAll(dir / "r.txt", Bytes(10, 'o'));
    Rig rig;
    rig.dialog.answers = {dir / "a.jpg", dir / "r.txt"};
    rig.Action("mnuOpen")->trigger();
    rig.window.TxtInfo()->appendPlainText(QString::fromUtf8("手改 \u00A0 😀"));
    rig.Action("mnuSave")->trigger();
    // The appended paragraph follows the empty line the report ends with.
    const std::string expected = testing::AnalyseBytes(SmallJpeg()).report + "\r\n手改 \u00A0 😀";
    QCOMPARE(testing::ReadWholeFile(dir / "r.txt"), ToAnsiCodePage(expected));
    QVERIFY(testing::ReadWholeFile(dir / "r.txt").starts_with("\xCE\xBB\xD6\xC3:1(0h)\r\n"));  // 位置 in GBK
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
  }

  // The hourglass shows over the text box too, which has an I-beam of its own.
  void saveShowsTheHourglassOverTheText() {
    TempDir dir;
    Rig rig;
    rig.dialog.answers = {dir / "r.txt"};
    QWidget* text = rig.window.TxtInfo()->viewport();
    Qt::CursorShape whileWriting = Qt::ArrowCursor;
    rig.files.onWrite = [&] { whileWriting = text->cursor().shape(); };
    rig.Action("mnuSave")->trigger();
    QCOMPARE(whileWriting, Qt::WaitCursor);
    QCOMPARE(text->cursor().shape(), Qt::IBeamCursor);
    QCOMPARE(rig.window.cursor().shape(), Qt::ArrowCursor);
  }

  void saveIntoAMissingFolderShowsTheError() {
    TempDir dir;
    Rig rig;
    rig.dialog.answers = {dir / "missing/r.txt"};
    rig.Action("mnuSave")->trigger();
    QCOMPARE(rig.messages.shown.size(), size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("76"));
    QCOMPARE(rig.messages.shown[0].prompt, std::string("路径未找到"));
    QVERIFY(std::filesystem::is_empty(dir.Path()));
    QCOMPARE(rig.window.cursor().shape(), Qt::ArrowCursor);
  }

  // Refused for every user, the administrator included; the old file stays whole.
  void saveOntoAReadOnlyFileShowsTheError() {
    TempDir dir;
    WriteAll(dir / "r.txt", Bytes(10, 'o'));
    std::filesystem::permissions(dir / "r.txt", std::filesystem::perms::owner_read);
    Rig rig;
    rig.dialog.answers = {dir / "r.txt"};
    rig.Action("mnuSave")->trigger();
    QCOMPARE(rig.messages.shown.size(), size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("70"));
    QCOMPARE(rig.messages.shown[0].prompt, std::string("拒绝访问"));
    QCOMPARE(testing::ReadWholeFile(dir / "r.txt"), std::string(10, 'o'));
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    QCOMPARE(rig.window.cursor().shape(), Qt::ArrowCursor);
  }

  void aboutBox() {
    Rig rig;
    rig.Action("mnuAbout")->trigger();
    QCOMPARE(rig.messages.shown.size(), size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("关于"));
  }

  // Every box belongs to the main window and is wide enough for its whole title:
  // an error's number is its title and shown nowhere else.
  void boxesBelongToTheWindowAndShowTheirTitle_data() {
    QTest::addColumn<QString>("title");
    QTest::newRow("error 70") << "70";
    QTest::newRow("a long error number") << "2147483647";
    QTest::newRow("the program's name") << "";
  }

  void boxesBelongToTheWindowAndShowTheirTitle() {
    QFETCH(QString, title);
    QWidget window;
    QtMessageBox messages;
    messages.SetOwner(&window);
    QWidget* owner = nullptr;
    int width = 0;
    QString shownTitle;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      owner = box->parentWidget();
      width = box->width();
      shownTitle = box->windowTitle();
      box->close();
    });
    messages.Show("拒绝访问", title.toStdString(), MessageIcon::Critical);
    QCOMPARE(owner, &window);
    QVERIFY(shownTitle.endsWith(title));
    QVERIFY(width >= TitleBarWidth(shownTitle));
  }

  // Qt's own words in the file dialog are Chinese: its catalogues, the type names
  // it asks for under another context, and sizes whatever the system's locale.
  void qtSpeaksChinese() {
    InstallChineseTranslation(*qApp);
    QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QString("打开(&O)"));
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
             QString("文件夹"));
    QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Size"), QString("大小"));
    QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Name"), QString("名称"));
  }

  // One style of units, with the step to the next unit at 1024.
  void fileSizesInOneStyle_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << qint64{0} << "0 B";
    QTest::newRow("one short of a KB") << qint64{1023} << "1,023 B";
    QTest::newRow("one KB") << qint64{1024} << "1.00 KB";
    QTest::newRow("one short of a MB") << qint64{1024 * 1024 - 1} << "1,024.00 KB";
    QTest::newRow("one MB") << qint64{1024 * 1024} << "1.00 MB";
    QTest::newRow("the largest size") << std::numeric_limits<qint64>::max() << "8.00 EB";
  }

  void fileSizesInOneStyle() {
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QCOMPARE(FileSizeText(bytes), text);
  }

  // After a save into a folder that is gone, the next dialog offers the name
  // alone, not the path relative to wherever the dialog is; where the folder is
  // there, the dialog opens in it.
  void dialogAfterAFailedSaveOffersTheNameOnly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opensInItsFolder");
    QTest::newRow("folder gone") << "missing/r.txt" << false;
    QTest::newRow("folder there") << "r.txt" << true;
  }

  void dialogAfterAFailedSaveOffersTheNameOnly() {
    QFETCH(QString, name);
    QFETCH(bool, opensInItsFolder);
    TempDir dir;
    QtCommonDialog dialog;
    dialog.FileName = dir / name.toStdString();
    QString offered;
    QString folder;
    QTimer::singleShot(0, [&] {
      auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      offered = shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      folder = shown->directory().absolutePath();
      shown->reject();
    });
    QVERIFY_THROWS_EXCEPTION(RuntimeError, dialog.ShowOpen());
    QCOMPARE(offered, QString("r.txt"));
    QCOMPARE(folder == QString::fromStdString(dir.Path().string()), opensInItsFolder);
  }

  void textBoxFollowsTheClientAreaUnlessMinimised() {
    Rig rig;
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    rig.window.resize(500, 400);
    QTRY_COMPARE(rig.window.TxtInfo()->geometry(), rig.window.centralWidget()->rect());
    rig.window.showMinimized();
    const QRect before = rig.window.TxtInfo()->geometry();
    rig.window.centralWidget()->resize(100, 50);
    QCOMPARE(rig.window.TxtInfo()->geometry(), before);
    rig.window.showNormal();
    rig.window.resize(450, 300);
    QTRY_COMPARE(rig.window.TxtInfo()->geometry(), rig.window.centralWidget()->rect());
  }

  // Whatever had the keys while the window was inactive, the text box has them
  // again once it is active.
  void textBoxTakesTheKeysWhenTheWindowComesBack() {
    Rig rig;
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    rig.window.menuBar()->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    rig.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QVERIFY(rig.window.TxtInfo()->hasFocus());
  }

  void quitClosesTheWindow() {
    Rig rig;
    rig.window.show();
    rig.Action("mnuQuit")->trigger();
    QVERIFY(!rig.window.isVisible());
  }

  // A 2 x 1 thumbnail (red, blue) is drawn 48 times larger, pixel for pixel, in
  // the middle of a window as wide as its title needs.
  void thumbnailWindowDrawsThePicture() {
    QWidget owner;
    FrmThumb thumb(owner);
    QCOMPARE(thumb.windowTitle(), QString("JPEG缩略图"));
    QVERIFY(thumb.windowFlags().testFlag(Qt::Tool));
    QVERIFY(!thumb.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!thumb.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(thumb.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(thumb.parentWidget() == nullptr);
    const JfifThumbnail picture{2, 1, {0xFF, 0, 0, 0, 0, 0xFF}};
    QImage drawn;
    QTimer::singleShot(0, &thumb, [&] {
      QVERIFY(thumb.isModal());
      drawn = thumb.grab().toImage();
      thumb.close();
    });
    thumb.ShowModal(&picture);
    const int width = std::max(96, TitleBarWidth(thumb.windowTitle()));
    const int left = (width - 96) / 2;
    QCOMPARE(thumb.minimumSize(), QSize(width, 48));
    QCOMPARE(thumb.maximumSize(), QSize(width, 48));
    QCOMPARE(drawn.size(), QSize(width, 48));
    QCOMPARE(drawn.pixelColor(left, 0), QColor(Qt::red));
    QCOMPARE(drawn.pixelColor(left + 47, 47), QColor(Qt::red));
    QCOMPARE(drawn.pixelColor(left + 48, 0), QColor(Qt::blue));
    QCOMPARE(drawn.pixelColor(left + 95, 47), QColor(Qt::blue));
  }

  // The window system keeps the thumbnail window with the main window, which is
  // back and active once the thumbnail window closes, minimised or not before.
  void thumbnailWindowBelongsToTheMainWindow() {
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    FrmThumb thumb(owner);
    QVERIFY(!thumb.windowIcon().isNull());
    const QWindow* transientParent = nullptr;
    QTimer::singleShot(0, &thumb, [&] {
      transientParent = thumb.windowHandle()->transientParent();
      owner.showMinimized();
      thumb.close();
    });
    thumb.ShowModal(nullptr);
    QCOMPARE(transientParent, owner.windowHandle());
    QVERIFY(!owner.isMinimized());
    QVERIFY(QTest::qWaitForWindowActive(&owner));
  }

  // Minimised with the main window, the thumbnail window stays so, to come back
  // with it rather than alone.
  void thumbnailWindowMinimisedWithTheMainWindowStaysSo() {
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    FrmThumb thumb(owner);
    bool stayed = false;
    QTimer::singleShot(0, &thumb, [&] {
      owner.showMinimized();
      thumb.showMinimized();
      // Queued behind the thumbnail window's own answer to being minimised.
      QTimer::singleShot(0, &thumb, [&] {
        stayed = thumb.isMinimized();
        thumb.close();
      });
    });
    thumb.ShowModal(nullptr);
    QVERIFY(stayed);
  }
};

}  // namespace vellumark

QTEST_MAIN(vellumark::FrmMainTest)
#include "frm_main_test.moc"
