#include "analysis/byte_reader.h"

#include <stdexcept>

namespace vellumark {

std::span<const std::uint8_t> ByteReader::Take(std::size_t count) {
  if (count > Remaining()) {
    throw std::out_of_range("segment read past its end");
  }
  const auto taken = bytes_.subspan(position_, count);
  position_ += count;
  return taken;
}

}  // namespace vellumark
