#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/file_check.h"
#include "cli/check_report.h"
#include "platform/binary_file.h"
#include "platform/memory_byte_source.h"
#include "tests/support/jpeg_builder.h"
#include "tests/support/scan_writer.h"

namespace vellumark::testing {

// Small tables whose codes can be read off by hand.
// DC: 0 = 00, 1 = 01, 11 = 10, 12 = 110, 15 = 1110, 16 = 11110; 11111 begins no code.
inline const HuffmanCodes kCraftedDc({0, 3, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 11, 12, 15, 16});
// AC: EOB 00, 01 01, ZRL 100, E1 101, 0A 1100, 0B 1101, 50 11100, 02 11101,
// 0E 111100, 0F 111101, 10 1111100, 11 1111101; 111111 begins no code.
inline const HuffmanCodes kCraftedAc({0, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                     {0x00, 0x01, 0xF0, 0xE1, 0x0A, 0x0B, 0x50, 0x02, 0x0E, 0x0F, 0x10, 0x11});

struct CraftedComponent {
  std::uint8_t id;
  std::uint8_t hv;  // H << 4 | V
  std::uint8_t tq;
};

// A frame header's payload.
inline Bytes FramePayload(std::uint8_t precision, std::uint16_t width, std::uint16_t height,
                          const std::vector<CraftedComponent>& components) {
  Bytes payload = {precision, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                   static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width),
                   static_cast<std::uint8_t>(components.size())};
  for (const CraftedComponent& c : components) {
    payload.insert(payload.end(), {c.id, c.hv, c.tq});
  }
  return payload;
}

inline Bytes GreyFrame(std::uint16_t width, std::uint16_t height, std::uint8_t precision = 8) {
  return FramePayload(precision, width, height, {{1, 0x11, 0}});
}

// A scan header's payload: each component's id and Td << 4 | Ta, then Ss, Se, Ah << 4 | Al.
inline Bytes ScanPayload(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& components,
                         std::uint8_t ss = 0, std::uint8_t se = 63, std::uint8_t ahAl = 0) {
  Bytes payload = {static_cast<std::uint8_t>(components.size())};
  for (const auto& [id, tables] : components) {
    payload.insert(payload.end(), {id, tables});
  }
  payload.insert(payload.end(), {ss, se, ahAl});
  return payload;
}

inline const Bytes kGreyScan = ScanPayload({{1, 0x00}});

// SOI (0), DQT 0 (2), the frame (71), DHT with the crafted DC 0 and AC 0,
// DRI. With a one-component frame the DHT is at 84, DRI at 140, and the first
// SOS at 146, so a grey scan's data begins at 156.
inline JpegBuilder CraftedHead(std::uint8_t frameCode, const Bytes& frame, std::uint16_t restart = 0,
                               bool huffman = true) {
  JpegBuilder file;
  file.Marker(0xD8).Segment(0xDB, DqtTable(0x00, Bytes(64, 1))).Segment(frameCode, frame);
  if (huffman) {
    file.Segment(0xC4, Join({kCraftedDc.Dht(0x00), kCraftedAc.Dht(0x10)}));
  }
  return file.Segment(0xDD, {static_cast<std::uint8_t>(restart >> 8), static_cast<std::uint8_t>(restart)});
}

inline constexpr std::int64_t kGreyData = 156;

inline CheckSummary CheckBytes(const Bytes& bytes) {
  BinaryFile file(std::make_unique<MemoryByteSource>(bytes));
  return CheckPictures(file).value();
}

// A crafted file and the check line it gives, without its line end.
struct LineCase {
  const char* name;
  Bytes file;
  std::string line;
};

// Names each case of a table after its name field.
inline constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// The check line of a crafted file named in.jpg.
class CheckLineTest : public ::testing::TestWithParam<LineCase> {
protected:
  void ExpectTheLine() { EXPECT_EQ(CheckLine("in.jpg", CheckBytes(GetParam().file)), GetParam().line + "\n"); }
};

}  // namespace vellumark::testing
