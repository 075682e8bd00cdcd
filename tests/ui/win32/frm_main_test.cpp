// The Win32 main window as a user meets it: menus and shortcut keys from the
// resource scripts, the commands they reach, the pointer, the icon, the About
// text from the version resource, and a saved report's bytes. Needs a display.
#include "ui/win32/frm_main.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <tuple>

#include "common/busy.h"
#include "platform/local_file_system.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_app_info.h"
#include "tests/fakes/fake_platform.h"
#include "tests/support/files.h"
#include "ui/win32/resource_ids.h"
#include "ui/window_text.h"
#include "version.h"

namespace vellumark {
namespace {

bool ShowsHourglass() { return GetCursor() == LoadCursorW(nullptr, IDC_WAIT); }

// The disk, noting whether the hourglass was up when a file was opened.
class WatchedFiles : public FileSystem {
public:
  std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
    hourglassAtOpen.push_back(ShowsHourglass());
    return disk_.OpenRead(path);
  }
  void WriteText(const std::string& path, std::string_view utf8Text) override { disk_.WriteText(path, utf8Text); }
  std::vector<bool> hourglassAtOpen;

private:
  LocalFileSystem disk_;
};

class FrmMainTest : public ::testing::Test {
protected:
  FrmMainTest() : window({files, messages, busy, dialog, app}, appPointer) {}

  void Command(WORD id) { SendMessageW(window.Window(), WM_COMMAND, id, 0); }

  std::wstring ReportText() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window.TxtInfo())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window.TxtInfo(), text.data(), static_cast<int>(text.size()))));
    return text;
  }

  // Takes messages the way the program's own loop does, until done() or a time-out.
  bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < end) {
      MSG message{};
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (!window.TranslateShortcut(message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      }
      Sleep(10);
    }
    return done();
  }

  WatchedFiles files;
  testing::FakeMessageBox messages;
  Win32MousePointer appPointer;
  BusyIndicator busy{appPointer};
  testing::FakeCommonDialog dialog;
  Win32AppInfo app;
  FrmMain window;
};

std::wstring ItemCaption(HMENU menu, int position) {
  wchar_t caption[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), caption, 128, MF_BYPOSITION);
  return caption;
}

struct Item {
  UINT id;  // 0 for a separator
  std::string caption;
};

TEST_F(FrmMainTest, MenusHaveTheirCaptionsItemsAndSeparators) {
  using namespace window_text;
  const std::string ctrl = "\tCtrl+";
  const std::vector<std::pair<std::string_view, std::vector<Item>>> expected = {
      {kMenuFile,
       {{IDM_OPEN, std::string(kMenuOpen) + ctrl + "O"},
        {0, ""},
        {IDM_SAVE, std::string(kMenuSave) + ctrl + "S"},
        {0, ""},
        {IDM_QUIT, std::string(kMenuQuit)}}},
      {kMenuView,
       {{IDM_SHOW_ACH, std::string(kMenuShowAcHuffman)},
        {0, ""},
        {IDM_THUMB, std::string(kMenuThumb) + ctrl + "T"},
        {0, ""},
        {IDM_REFRESH, std::string(kMenuRefresh) + "\tF5"}}},
      {kMenuHelp, {{IDM_ABOUT, std::string(kMenuAbout)}}},
  };
  const HMENU bar = window.Menu();
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(ItemCaption(bar, m), Utf16(expected[m].first));
    const HMENU popup = GetSubMenu(bar, m);
    const auto& items = expected[m].second;
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size())) << m;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
      const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
      if (items[i].id == 0) {
        EXPECT_NE(state & MF_SEPARATOR, 0U) << m << "/" << i;
        continue;
      }
      EXPECT_EQ(GetMenuItemID(popup, i), items[i].id);
      EXPECT_EQ(ItemCaption(popup, i), Utf16(items[i].caption));
      EXPECT_EQ(state & (MF_DISABLED | MF_GRAYED | MF_CHECKED), 0U) << m << "/" << i;
    }
  }
}

TEST_F(FrmMainTest, ShortcutKeysAreCtrlOSTAndF5) {
  const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
  std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
  CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
  std::set<std::tuple<int, int, int>> keys;
  for (const ACCEL& entry : entries) {
    keys.insert({entry.fVirt & ~FNOINVERT, entry.key, entry.cmd});
  }
  const std::set<std::tuple<int, int, int>> expected = {{FVIRTKEY | FCONTROL, 'O', IDM_OPEN},
                                                        {FVIRTKEY | FCONTROL, 'S', IDM_SAVE},
                                                        {FVIRTKEY | FCONTROL, 'T', IDM_THUMB},
                                                        {FVIRTKEY, VK_F5, IDM_REFRESH}};
  EXPECT_EQ(keys, expected);
}

TEST_F(FrmMainTest, AcOptionTogglesItsCheckMarkOnly) {
  const std::wstring before = ReportText();
  const auto checked = [&] { return (GetMenuState(window.Menu(), IDM_SHOW_ACH, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  EXPECT_FALSE(checked());
  Command(IDM_SHOW_ACH);
  EXPECT_TRUE(checked());
  Command(IDM_SHOW_ACH);
  EXPECT_FALSE(checked());
  EXPECT_EQ(ReportText(), before);
}

TEST_F(FrmMainTest, StartsWithTheMarkerCodeTable) {
  EXPECT_EQ(ReportText().rfind(L"JPEGCode:\r\n\r\n", 0), 0U);
}

// Keys typed at the window go through the program's message loop to Open.
TEST_F(FrmMainTest, CtrlOTypedAtTheWindowShowsTheOpenDialog) {
  dialog.answers = {std::nullopt};
  window.Show(SW_SHOWNORMAL);
  SetForegroundWindow(window.Window());
  SetFocus(window.TxtInfo());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window.TxtInfo(); }));
  INPUT keys[4] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
  }
  keys[0].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = 'O';
  keys[2].ki.wVk = 'O';
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_CONTROL;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4U);
  ASSERT_TRUE(PumpUntil([&] { return !dialog.showings.empty(); }));
  EXPECT_FALSE(dialog.showings[0].forSaving);
  EXPECT_EQ(dialog.showings[0].filter, window_text::kOpenFilter);
  EXPECT_EQ(dialog.showings[0].flags, 0x1004);
  EXPECT_TRUE(messages.shown.empty());
}

// The report on screen is the golden report, byte for byte once encoded; the
// file was read under the hourglass, and the arrow is back afterwards.
TEST_F(FrmMainTest, OpenShowsTheReportUnderTheHourglass) {
  const std::string golden = std::string(VELLUMARK_GOLDEN_DIR) + "/baseline";
  dialog.answers = {golden + ".jpg"};
  Command(IDM_OPEN);
  EXPECT_EQ(files.hourglassAtOpen, std::vector<bool>{true});
  EXPECT_FALSE(ShowsHourglass());
  EXPECT_EQ(busy.Depth(), 0);
  EXPECT_EQ(Utf8(ReportText()), testing::ReadWholeFile(golden + ".expected"));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FrmMainTest, IconHasSixImages) {
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_PROGRAM), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height,
  // colours, reserved, planes, bit count, size, id.
  const int count = data[4] | (data[5] << 8);
  std::set<std::pair<int, int>> images;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = data + 6 + 14 * i;
    images.insert({entry[0], entry[6] | (entry[7] << 8)});
  }
  EXPECT_EQ(count, 6);
  EXPECT_EQ(images, (std::set<std::pair<int, int>>{{16, 8}, {16, 32}, {32, 8}, {32, 32}, {48, 8}, {48, 32}}));
  EXPECT_NE(GetClassLongPtrW(window.Window(), GCLP_HICON), 0);
}

TEST_F(FrmMainTest, AboutTellsWhatTheVersionResourceSays) {
  Command(IDM_ABOUT);
  ASSERT_EQ(messages.shown.size(), 1U);
  EXPECT_EQ(messages.shown[0].title, "关于");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(messages.shown[0].prompt, std::string("产品：Vellumark\r\n版本：1.0.38\r\n作者：") +
                                          version::kCompanyName + "\r\n版权：" + version::kLegalCopyright +
                                          "\r\n说明：JPEG文件分析工具");
}

TEST_F(FrmMainTest, VersionResourceWritesTheVersionForPeople) {
  wchar_t file[MAX_PATH];
  GetModuleFileNameW(nullptr, file, MAX_PATH);
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(file, &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoW(file, 0, static_cast<DWORD>(data.size()), data.data()));
  const auto field = [&](const wchar_t* name) {
    void* value = nullptr;
    UINT size = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    return VerQueryValueW(data.data(), query.c_str(), &value, &size) ? std::wstring(static_cast<wchar_t*>(value))
                                                                      : std::wstring();
  };
  EXPECT_EQ(field(L"FileVersion"), L"1.00.0038");
  EXPECT_EQ(field(L"ProductVersion"), L"1.00.0038");
  EXPECT_EQ(field(L"Comments"), L"JPEG文件分析工具");
}

// A report as the user edited it goes to a file named in Chinese, in GBK with
// CR LF.
TEST_F(FrmMainTest, SaveWritesTheBoxInGbk) {
  testing::TempDir dir;
  const std::u8string name = (dir.Path() / u8"报告.txt").u8string();
  dialog.answers = {std::string(name.begin(), name.end())};
  SetWindowTextW(window.TxtInfo(), L"位置:1(0h)\r\n标记:SOI\r\n非JPEG标记！\r\n");
  Command(IDM_SAVE);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialog.showings.at(0).flags, 6);
  std::ifstream saved(std::filesystem::path(name), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()};
  EXPECT_EQ(bytes, "\xCE\xBB\xD6\xC3:1(0h)\r\n"                  // 位置
                   "\xB1\xEA\xBC\xC7:SOI\r\n"                    // 标记
                   "\xB7\xC7JPEG\xB1\xEA\xBC\xC7\xA3\xA1\r\n");  // 非 JPEG 标记 ！
}

}  // namespace
}  // namespace vellumark
