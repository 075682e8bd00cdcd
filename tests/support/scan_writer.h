#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// A Huffman table as a DHT defines it, with the canonical code of each symbol
// worked out the way an encoder assigns them, so that scans can be written by hand.
class HuffmanCodes {
public:
  HuffmanCodes(const std::array<std::uint8_t, 16>& counts, Bytes symbols)
      : counts_(counts), symbols_(std::move(symbols)) {
    std::uint32_t code = 0;
    std::size_t index = 0;
    for (int length = 1; length <= 16; ++length) {
      for (int n = 0; n < counts_[static_cast<std::size_t>(length - 1)]; ++n, ++index, ++code) {
        codes_.push_back({code, length});
      }
      code <<= 1;
    }
  }

  struct Code {
    std::uint32_t bits;
    int length;
  };
  Code Of(std::uint8_t symbol) const {
    for (std::size_t i = 0; i < symbols_.size(); ++i) {
      if (symbols_[i] == symbol) {
        return codes_[i];
      }
    }
    throw std::invalid_argument("no code for this symbol");
  }
  // One table of a DHT payload, in class-and-identifier slot classAndId.
  Bytes Dht(std::uint8_t classAndId) const { return DhtTable(classAndId, counts_, symbols_); }

private:
  std::array<std::uint8_t, 16> counts_;
  Bytes symbols_;
  std::vector<Code> codes_;
};

// Entropy-coded data written bit by bit, most significant bit first: an FF
// data byte gets its stuffed 00, and padding is 1-bits as encoders write it.
class ScanWriter {
public:
  ScanWriter& Bits(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
      PutBit((value >> i) & 1U);
    }
    return *this;
  }
  ScanWriter& Ones(int count) {
    for (int i = 0; i < count; ++i) {
      PutBit(1);
    }
    return *this;
  }
  ScanWriter& Code(const HuffmanCodes& table, std::uint8_t symbol) {
    const HuffmanCodes::Code code = table.Of(symbol);
    return Bits(code.bits, code.length);
  }
  // A code and its extra bits, e.g. a DC category and the difference.
  ScanWriter& Code(const HuffmanCodes& table, std::uint8_t symbol, std::uint32_t extra, int extraCount) {
    return Code(table, symbol).Bits(extra, extraCount);
  }
  // Pads the byte with 1-bits, then RSTn.
  ScanWriter& Restart(int n) {
    Pad();
    return Raw({0xFF, static_cast<std::uint8_t>(0xD0 + n)});
  }
  // Pads the byte, then bytes exactly as they stand.
  ScanWriter& Raw(const Bytes& bytes) {
    Pad();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  Bytes Build() {
    Pad();
    return bytes_;
  }

private:
  void PutBit(std::uint32_t bit) {
    current_ = static_cast<std::uint8_t>((current_ << 1) | bit);
    if (++filled_ == 8) {
      bytes_.push_back(current_);
      if (current_ == 0xFF) {
        bytes_.push_back(0x00);
      }
      current_ = 0;
      filled_ = 0;
    }
  }
  void Pad() {
    while (filled_ != 0) {
      PutBit(1);
    }
  }

  Bytes bytes_;
  std::uint8_t current_ = 0;
  int filled_ = 0;
};

}  // namespace vellumark::testing
