#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/jpeg_tables.h"

namespace vellumark {

// The fields of one segment's payload (the bytes after its length field),
// decoded once as values for every output and for the entropy decoder, the way
// libjpeg's get_sof/get_sos/get_dqt/get_dht fill their structs. Each field is
// present only where the payload holds it completely; reading stops at the
// first one that does not fit, and `whole` says whether the fields filled the
// payload exactly. Spans point into the payload: valid as long as it is.

struct FrameComponent {
  std::uint8_t id = 0;
  std::uint8_t h = 0;
  std::uint8_t v = 0;
  std::uint8_t tq = 0;
};

// T.81 B.2.2.
struct FrameFields {
  std::optional<std::uint8_t> precision;
  std::optional<std::uint16_t> height;
  std::optional<std::uint16_t> width;
  // Present once the count byte is: the components that fit, at most the count.
  std::optional<std::vector<FrameComponent>> components;
  bool whole = false;
};

struct ScanComponent {
  std::uint8_t id = 0;
  std::uint8_t td = 0;
  std::uint8_t ta = 0;
};

// T.81 B.2.3. ss, se and the ah/al byte are read only after every component.
struct ScanFields {
  std::optional<std::vector<ScanComponent>> components;
  std::optional<std::uint8_t> ss;
  std::optional<std::uint8_t> se;
  std::optional<std::uint8_t> ah;  // ah and al come from one byte: both or neither
  std::optional<std::uint8_t> al;
  bool whole = false;
};

// How a DQT table's precision nibble sizes its values. libjpeg (and so the
// JSON output and the decoder) reads 16-bit values where Pq is not 0; the
// text report takes every table as 64 single bytes.
enum class QuantisationPrecision { FromTable, AlwaysEightBit };

// The width of a table's values under the rule: 16 bits where the rule follows
// the table and its Pq is not 0, else 8.
[[nodiscard]] int QuantisationValueBits(std::uint8_t precision, QuantisationPrecision rule);

struct QuantisationTable {
  std::uint8_t precision = 0;  // Pq, the high nibble, as stored
  std::uint8_t id = 0;         // Tq, the low nibble
  // In natural order (row * 8 + column); absent where the segment ends first.
  std::optional<std::array<std::uint16_t, kQuantisationValues>> values;
};

struct QuantisationFields {
  std::vector<QuantisationTable> tables;  // each table whose head byte is there
  bool whole = false;
};

struct HuffmanTable {
  std::uint8_t tableClass = 0;  // Tc, the high nibble
  std::uint8_t id = 0;          // Th, the low nibble
  // Absent where the segment ends first; symbols only after whole counts.
  std::optional<std::array<std::uint8_t, kHuffmanCodeLengths>> counts;
  std::optional<std::span<const std::uint8_t>> symbols;
};

struct HuffmanFields {
  std::vector<HuffmanTable> tables;  // each table whose head byte is there
  bool whole = false;
};

// DRI and DNL: one 16-bit word.
struct WordFields {
  std::optional<std::uint16_t> value;
  bool whole = false;
};

// APP0 "JFIF": the fields after the identifier and its 00 byte.
struct JfifFields {
  std::uint8_t majorVersion = 0;
  std::uint8_t minorVersion = 0;
  std::uint8_t units = 0;
  std::uint16_t xDensity = 0;
  std::uint16_t yDensity = 0;
  std::uint8_t thumbnailWidth = 0;
  std::uint8_t thumbnailHeight = 0;
};

[[nodiscard]] FrameFields ReadFrameFields(std::span<const std::uint8_t> payload);
[[nodiscard]] ScanFields ReadScanFields(std::span<const std::uint8_t> payload);
[[nodiscard]] QuantisationFields ReadQuantisationFields(std::span<const std::uint8_t> payload,
                                                        QuantisationPrecision rule);
[[nodiscard]] HuffmanFields ReadHuffmanFields(std::span<const std::uint8_t> payload);
[[nodiscard]] WordFields ReadWordFields(std::span<const std::uint8_t> payload);
// An APPn identifier: the bytes before the first 00 within the first 65 bytes,
// where every one of them is printable ASCII.
[[nodiscard]] std::optional<std::string_view> ReadIdentifier(std::span<const std::uint8_t> payload);
// The JFIF fields of an APP0 payload identified as "JFIF", where it holds them all.
[[nodiscard]] std::optional<JfifFields> ReadJfifFields(std::span<const std::uint8_t> payload);

// Frame markers: SOF0-SOF15 without DHT, JPG and DAC.
[[nodiscard]] bool IsFrameCode(std::uint8_t code);

}  // namespace vellumark
