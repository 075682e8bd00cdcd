#include "analysis/length_field.h"

#include <algorithm>

#include "common/bytes.h"

namespace vellumark {

std::int64_t ReadLengthField(BinaryFile& file) {
  const auto present = file.ReadBytes(std::min(kLengthFieldSize, file.Remaining()));
  const std::uint8_t high = present.empty() ? 0 : present[0];
  const std::uint8_t low = present.size() < 2 ? 0 : present[1];
  return BigEndianWord(high, low);
}

}  // namespace vellumark
