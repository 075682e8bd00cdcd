#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/jpeg_tables.h"

namespace vellumark {

// One Huffman table made ready for decoding: the codes of up to kLookBits bits
// are found with one lookup, longer ones by their length (ITU-T T.81 F.2.2.3).
class HuffmanLookup {
public:
  static constexpr int kLookBits = 9;
  static constexpr int kLongestCode = 16;

  // nullopt where a code does not fit its length or is all 1-bits, which
  // libjpeg refuses too: such a table defines nothing.
  [[nodiscard]] static std::optional<HuffmanLookup> Build(std::span<const std::uint8_t, kHuffmanCodeLengths> counts,
                                                          std::span<const std::uint8_t> symbols);

  struct Match {
    int length;  // 0: no code matches
    std::uint8_t symbol;
  };

  // The code at the top of 16 bits.
  Match Decode(std::uint32_t top16) const {
    const std::uint16_t entry = fast_[top16 >> (kLongestCode - kLookBits)];
    if (entry != 0) {
      return {entry >> 8, static_cast<std::uint8_t>(entry)};
    }
    return DecodeLong(top16);
  }

  // Whether the count bits at the top of bits begin a longer code.
  bool IsProperPrefix(std::uint32_t top16, int count) const;

  // The bits of a DC code and its extra bits where they lie within kLookBits
  // and the category is one every precision accepts; 0 otherwise.
  int DcShortcut(std::uint32_t top16) const { return dcShortcut_[top16 >> (kLongestCode - kLookBits)]; }

  // An AC code and its extra bits within kLookBits, taken in one step by
  // sequential and first AC scans.
  struct Shortcut {
    int bits;  // the code's and its extra bits'; 0: take the long way
    int run;   // zeros before the coefficient; 15 with no value is 16 zeros
    bool value;
    bool endOfBlock;
  };
  Shortcut AcShortcut(std::uint32_t top16) const {
    const std::uint16_t entry = acShortcut_[top16 >> (kLongestCode - kLookBits)];
    return {entry >> 8, entry & kRunMask, (entry & kValueFlag) != 0, (entry & kEndFlag) != 0};
  }

private:
  Match DecodeLong(std::uint32_t top16) const;
  void BuildShortcuts();

  static constexpr std::uint16_t kRunMask = 0x0F;
  static constexpr std::uint16_t kValueFlag = 0x20;
  static constexpr std::uint16_t kEndFlag = 0x40;

  // (length << 8) | symbol for each kLookBits-bit window whose code is short; 0 otherwise.
  std::array<std::uint16_t, 1 << kLookBits> fast_{};
  // (bits << 8) | flags | run for each window whose AC code and extra bits fit it
  // and say something every scan accepts; 0 otherwise.
  std::array<std::uint16_t, 1 << kLookBits> acShortcut_{};
  std::array<std::uint8_t, 1 << kLookBits> dcShortcut_{};
  // By length: the first code, how many there are, and the index of the first one's symbol.
  std::array<std::int32_t, kLongestCode + 1> first_{};
  std::array<std::int32_t, kLongestCode + 1> count_{};
  std::array<std::int32_t, kLongestCode + 1> symbolIndex_{};
  std::vector<std::uint8_t> symbols_;
};

// The tables of ITU-T T.81 K.3, which a scan uses where it names DC or AC
// table 0 or 1 and no DHT defined it, as libjpeg does for motion-JPEG frames.
const HuffmanLookup& StandardHuffmanTable(bool ac, int id);

}  // namespace vellumark
