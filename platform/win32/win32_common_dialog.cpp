#include "platform/win32/win32_common_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/win32/utf16.h"

namespace vellumark {

namespace {

// Long enough for the longest path Windows takes.
constexpr std::size_t kNameCapacity = 32768;

RuntimeError DialogError(DWORD code) {
  if (code == 0) {
    return MakeError(error_number::kCancelled);
  }
  if (code == FNERR_INVALIDFILENAME || code == FNERR_BUFFERTOOSMALL) {
    return MakeError(error_number::kBadFileName);
  }
  return MakeError(error_number::kSystemBase + static_cast<std::int32_t>(code));
}

// A full path whose folder is gone (a save that failed) would fill the name
// field with the whole path; the name alone is what the user chose.
std::wstring InitialSelection(const std::wstring& fileName) {
  const std::size_t slash = fileName.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return fileName;
  }
  const DWORD folder = GetFileAttributesW(fileName.substr(0, slash + 1).c_str());
  const bool folderExists = folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return folderExists ? fileName : fileName.substr(slash + 1);
}

}  // namespace

std::wstring Win32Filter(const std::string& filter) {
  std::wstring list = Utf16(filter);
  for (wchar_t& c : list) {
    if (c == L'|') {
      c = L'\0';
    }
  }
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

void Win32CommonDialog::ShowOpen() { Show(false); }

void Win32CommonDialog::ShowSave() { Show(true); }

void Win32CommonDialog::Show(bool forSaving) {
  const std::wstring filter = Win32Filter(Filter);
  const std::wstring initDir = Utf16(InitDir);
  std::vector<wchar_t> name(kNameCapacity, L'\0');
  const std::wstring current = InitialSelection(Utf16(FileName));
  std::copy_n(current.begin(), std::min(current.size(), kNameCapacity - 1), name.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(owner_);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = initDir.empty() ? nullptr : initDir.c_str();
  dialog.Flags = static_cast<DWORD>(Flags) | OFN_EXPLORER;
  const BOOL chosen = forSaving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (chosen == FALSE) {
    throw DialogError(CommDlgExtendedError());
  }
  FileName = Utf8(name.data());
}

}  // namespace vellumark
