#pragma once

#include <cstdint>
#include <span>

namespace vellumark {

// Calls visit(symbol, code, length) for every symbol of a DHT table in order,
// with its code from the canonical assignment (ITU-T T.81, Annex C). counts
// holds the sixteen code-length counts; symbols holds as many symbols as they
// add up to. Over-full lengths are not detected: such codes simply need more
// digits than their length.
template <typename Visit>
void ForEachHuffmanCode(std::span<const std::uint8_t> counts, std::span<const std::uint8_t> symbols,
                        Visit visit) {
  std::int32_t code = 0;
  std::size_t next = 0;
  for (std::size_t length = 1; length <= counts.size(); ++length) {
    for (std::uint8_t k = 0; k < counts[length - 1]; ++k) {
      visit(symbols[next++], code++, static_cast<std::int32_t>(length));
    }
    code *= 2;
  }
}

}  // namespace vellumark
