#include "common/base64.h"

#include <algorithm>
#include <cstdint>

namespace vellumark {

namespace {
constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kGroupBytes = 3;
}  // namespace

std::string Base64(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() + kGroupBytes - 1) / kGroupBytes * 4);
  for (std::size_t at = 0; at < bytes.size(); at += kGroupBytes) {
    const std::size_t count = std::min(kGroupBytes, bytes.size() - at);
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < kGroupBytes; ++i) {
      group = group << 8 | (i < count ? static_cast<std::uint8_t>(bytes[at + i]) : 0U);
    }
    // n bytes fill n + 1 digits; the group's other digits are padding.
    for (std::size_t digit = 0; digit < 4; ++digit) {
      text += digit <= count ? kDigits[group >> (18 - 6 * digit) & 0x3F] : '=';
    }
  }
  return text;
}

}  // namespace vellumark
