#include "analysis/huffman_lookup.h"

namespace vellumark {

std::optional<HuffmanLookup> HuffmanLookup::Build(std::span<const std::uint8_t, kHuffmanCodeLengths> counts,
                                                  std::span<const std::uint8_t> symbols) {
  HuffmanLookup table;
  table.symbols_.assign(symbols.begin(), symbols.end());
  std::int32_t code = 0;
  std::int32_t index = 0;
  for (int length = 1; length <= kLongestCode; ++length) {
    const std::int32_t count = counts[static_cast<std::size_t>(length - 1)];
    table.first_[length] = code;
    table.count_[length] = count;
    table.symbolIndex_[length] = index;
    code += count;
    // The next free code must still have this many bits; where it does not,
    // the last code was all 1-bits or did not fit at all.
    if (code >= (std::int32_t{1} << length)) {
      return std::nullopt;
    }
    if (length <= kLookBits) {
      const int spare = kLookBits - length;
      for (std::int32_t c = table.first_[length]; c < code; ++c) {
        const auto entry = static_cast<std::uint16_t>((length << 8) | table.symbols_[static_cast<std::size_t>(index + c - table.first_[length])]);
        std::fill_n(table.fast_.begin() + (c << spare), std::size_t{1} << spare, entry);
      }
    }
    index += count;
    code <<= 1;
  }
  table.BuildShortcuts();
  return table;
}

// AC: only the symbols that sequential and first AC scans read alike, a
// coefficient of size 1 to 10, a ZRL, and an end of block (EOB0). DC: the
// categories up to 11, which 8-bit scans allow too.
void HuffmanLookup::BuildShortcuts() {
  constexpr int kLargestShortSize = 10;
  constexpr int kLargestShortCategory = 11;
  for (std::size_t window = 0; window < fast_.size(); ++window) {
    const int length = fast_[window] >> 8;
    const int symbol = fast_[window] & 0xFF;
    if (length != 0 && length + symbol <= kLookBits && symbol <= kLargestShortCategory) {
      dcShortcut_[window] = static_cast<std::uint8_t>(length + symbol);
    }
    const int run = symbol >> 4;
    const int size = symbol & 15;
    const bool fits = length != 0 && length + size <= kLookBits && size <= kLargestShortSize;
    if (!fits || (size == 0 && run != 0 && run != 15)) {
      continue;
    }
    const bool end = symbol == 0;
    acShortcut_[window] = static_cast<std::uint16_t>(((length + size) << 8) | (end ? kEndFlag : 0) |
                                                     (size != 0 ? kValueFlag : 0) | run);
  }
}

HuffmanLookup::Match HuffmanLookup::DecodeLong(std::uint32_t top16) const {
  for (int length = kLookBits + 1; length <= kLongestCode; ++length) {
    const auto code = static_cast<std::int32_t>(top16 >> (kLongestCode - length));
    const std::int32_t offset = code - first_[length];
    if (offset >= 0 && offset < count_[length]) {
      return {length, symbols_[static_cast<std::size_t>(symbolIndex_[length] + offset)]};
    }
  }
  return {0, 0};
}

bool HuffmanLookup::IsProperPrefix(std::uint32_t top16, int count) const {
  const std::uint32_t prefix = count == 0 ? 0 : top16 >> (kLongestCode - count);
  for (int length = count + 1; length <= kLongestCode; ++length) {
    if (count_[length] == 0) {
      continue;
    }
    const int spare = length - count;
    const auto low = static_cast<std::int32_t>(prefix << spare);
    const auto high = static_cast<std::int32_t>(((prefix + 1) << spare) - 1);
    if (low < first_[length] + count_[length] && high >= first_[length]) {
      return true;
    }
  }
  return false;
}

}  // namespace vellumark
