#include "platform/win32/win32_app_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/win32/utf16.h"

namespace vellumark {

namespace {

std::wstring ProgramFile() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      return std::wstring(path.data(), length);
    }
    path.resize(path.size() * 2);
  }
}

// The program's version resource, as GetFileVersionInfoW copies it out.
class VersionResource {
public:
  explicit VersionResource(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size != 0) {
      data_.resize(size);
      if (GetFileVersionInfoW(file.c_str(), 0, size, data_.data()) == FALSE) {
        data_.clear();
      }
    }
  }

  const VS_FIXEDFILEINFO* Fixed() const {
    void* value = nullptr;
    UINT size = 0;
    if (data_.empty() || VerQueryValueW(data_.data(), L"\\", &value, &size) == FALSE || size < sizeof(VS_FIXEDFILEINFO)) {
      return nullptr;
    }
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  // A field of the first language block the resource lists.
  std::string Field(const wchar_t* name) const {
    void* value = nullptr;
    UINT size = 0;
    if (data_.empty() || VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &size) == FALSE ||
        size < 4) {
      return {};
    }
    const auto* language = static_cast<const WORD*>(value);
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", language[0], language[1], name);
    if (VerQueryValueW(data_.data(), query, &value, &size) == FALSE || size == 0) {
      return {};
    }
    return Utf8(static_cast<const wchar_t*>(value));
  }

private:
  mutable std::vector<unsigned char> data_;
};

}  // namespace

Win32AppInfo::Win32AppInfo() {
  const std::wstring file = ProgramFile();
  programDirectory_ = Utf8(file.substr(0, file.find_last_of(L"\\/")));
  const VersionResource resource(file);
  if (const VS_FIXEDFILEINFO* fixed = resource.Fixed()) {
    major_ = HIWORD(fixed->dwFileVersionMS);
    minor_ = LOWORD(fixed->dwFileVersionMS);
    revision_ = LOWORD(fixed->dwFileVersionLS);
  }
  productName_ = resource.Field(L"ProductName");
  companyName_ = resource.Field(L"CompanyName");
  legalCopyright_ = resource.Field(L"LegalCopyright");
  fileDescription_ = resource.Field(L"FileDescription");
}

}  // namespace vellumark
