#include "platform/ansi_text.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace vellumark {

namespace {

constexpr UINT kGbk = 936;
constexpr UINT kGb18030 = 54936;

// The bytes of text in codePage. With lossless given, also whether every
// character had bytes of its own there (no best-fit look-alike, no default
// character); GB18030 holds every character and takes no such question.
std::string Encode(UINT codePage, std::wstring_view text, bool* lossless = nullptr) {
  BOOL usedDefault = FALSE;
  const DWORD flags = lossless != nullptr ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL* const used = lossless != nullptr ? &usedDefault : nullptr;
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, used);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, nullptr, used);
  if (lossless != nullptr) {
    *lossless = usedDefault == FALSE;
  }
  return bytes;
}

// One character: a UTF-16 code unit, or a surrogate pair.
std::size_t CharacterLength(std::wstring_view text, std::size_t at) {
  const bool pair = at + 1 < text.size() && IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1]);
  return pair ? 2 : 1;
}

// GBK where it has the character; GB18030, GBK's superset, for the rest, so a
// character the user typed into the report is never lost.
std::string EncodeGbkLosslessly(std::wstring_view text) {
  bool lossless = false;
  std::string bytes = Encode(kGbk, text, &lossless);
  if (lossless) {
    return bytes;
  }
  bytes.clear();
  for (std::size_t at = 0; at < text.size();) {
    const std::wstring_view character = text.substr(at, CharacterLength(text, at));
    std::string own = Encode(kGbk, character, &lossless);
    // A system without GB18030 still gets GBK's stand-in, not nothing.
    std::string full = lossless ? std::string() : Encode(kGb18030, character);
    bytes += full.empty() ? own : full;
    at += character.size();
  }
  return bytes;
}

}  // namespace

std::string ToAnsiCodePage(std::string_view utf8) {
  const std::wstring text = Utf16(utf8);
  if (GetACP() == kGbk) {
    return EncodeGbkLosslessly(text);
  }
  return Encode(CP_ACP, text);
}

}  // namespace vellumark
