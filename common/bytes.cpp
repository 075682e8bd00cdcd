#include "common/bytes.h"

#include <array>

namespace vellumark {

std::string BinaryString(std::int32_t value, std::int32_t width) {
  std::array<char, 32> digits{};
  auto first = digits.end();
  auto m = static_cast<std::uint32_t>(value);
  do {
    *--first = (m & 1U) != 0 ? '1' : '0';
    m >>= 1;
  } while (m != 0);
  const auto length = static_cast<std::int32_t>(digits.end() - first);
  std::string text;
  if (width > length) {
    text.assign(static_cast<std::size_t>(width - length), '0');
  }
  text.append(first, digits.end());
  return text;
}

}  // namespace vellumark
