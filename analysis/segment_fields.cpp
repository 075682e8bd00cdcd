#include "analysis/segment_fields.h"

#include <algorithm>
#include <numeric>

#include "analysis/byte_reader.h"
#include "analysis/length_field.h"
#include "analysis/marker_code.h"
#include "analysis/thumbnail_search.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

// An identifier's ending 00 byte lies within this many bytes of the payload.
constexpr std::size_t kIdentifierReach = 65;

constexpr std::string_view kJfifIdentifier = "JFIF";
// Version, units, two densities and the thumbnail size, after "JFIF" and its 00.
constexpr std::size_t kJfifFieldBytes = 9;
static_assert(kLengthFieldSize + kJfifIdentifier.size() + 1 + kJfifFieldBytes == kJfifFixedLength);

constexpr std::size_t kFrameComponentBytes = 3;
constexpr std::size_t kScanComponentBytes = 2;

// Only after Remaining() has been checked.
std::uint16_t TakeWord(ByteReader& reader) {
  const auto bytes = reader.Take(2);
  return static_cast<std::uint16_t>(BigEndianWord(bytes[0], bytes[1]));
}

std::optional<std::uint8_t> ReadByte(ByteReader& reader) {
  if (reader.Remaining() < 1) {
    return std::nullopt;
  }
  return reader.Byte();
}

std::optional<std::uint16_t> ReadWord(ByteReader& reader) {
  if (reader.Remaining() < 2) {
    return std::nullopt;
  }
  return TakeWord(reader);
}

// A byte holding two four-bit fields: both fit or neither does.
bool ReadNibbles(ByteReader& reader, std::optional<std::uint8_t>& high, std::optional<std::uint8_t>& low) {
  if (reader.Remaining() < 1) {
    return false;
  }
  const std::uint8_t byte = reader.Byte();
  high = HighNibble(byte);
  low = LowNibble(byte);
  return true;
}

// A count byte and the components of size bytes each that fit, at most that
// many; true where all of them do. The count is not trusted for the reserve.
template <typename Component, typename Decode>
bool ReadComponents(ByteReader& reader, std::size_t size, std::optional<std::vector<Component>>& out,
                    Decode decode) {
  if (reader.Remaining() < 1) {
    return false;
  }
  const std::size_t count = reader.Byte();
  std::vector<Component>& components = out.emplace();
  components.reserve(std::min(count, reader.Remaining() / size));
  while (components.size() < count && reader.Remaining() >= size) {
    components.push_back(decode(reader.Take(size)));
  }
  return components.size() == count;
}

FrameComponent DecodeFrameComponent(std::span<const std::uint8_t> bytes) {
  return {bytes[0], HighNibble(bytes[1]), LowNibble(bytes[1]), bytes[2]};
}

ScanComponent DecodeScanComponent(std::span<const std::uint8_t> bytes) {
  return {bytes[0], HighNibble(bytes[1]), LowNibble(bytes[1])};
}

// bytes holds the 64 values in file (zig-zag) order, valueBytes each.
std::array<std::uint16_t, kQuantisationValues> NaturalOrder(std::span<const std::uint8_t> bytes,
                                                            std::size_t valueBytes) {
  const ZigZagTable& zigzag = ZigZagIndex();
  std::array<std::uint16_t, kQuantisationValues> values{};
  for (std::size_t natural = 0; natural < kQuantisationValues; ++natural) {
    const std::size_t at = zigzag[natural] * valueBytes;
    values[natural] = valueBytes == 2 ? static_cast<std::uint16_t>(BigEndianWord(bytes[at], bytes[at + 1]))
                                      : bytes[at];
  }
  return values;
}

}  // namespace

FrameFields ReadFrameFields(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  FrameFields fields;
  fields.whole = (fields.precision = ReadByte(reader)) && (fields.height = ReadWord(reader)) &&
                 (fields.width = ReadWord(reader)) &&
                 ReadComponents(reader, kFrameComponentBytes, fields.components, DecodeFrameComponent) &&
                 reader.Remaining() == 0;
  return fields;
}

ScanFields ReadScanFields(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  ScanFields fields;
  fields.whole = ReadComponents(reader, kScanComponentBytes, fields.components, DecodeScanComponent) &&
                 (fields.ss = ReadByte(reader)) && (fields.se = ReadByte(reader)) &&
                 ReadNibbles(reader, fields.ah, fields.al) && reader.Remaining() == 0;
  return fields;
}

int QuantisationValueBits(std::uint8_t precision, QuantisationPrecision rule) {
  return rule == QuantisationPrecision::FromTable && precision != 0 ? 16 : 8;
}

// A cut-off table ends the list, with its head byte kept: nothing is read past
// the payload.
QuantisationFields ReadQuantisationFields(std::span<const std::uint8_t> payload, QuantisationPrecision rule) {
  ByteReader reader(payload);
  QuantisationFields fields;
  fields.tables.reserve(payload.size() / (1 + kQuantisationValues) + 1);
  while (reader.Remaining() > 0) {
    const std::uint8_t head = reader.Byte();
    QuantisationTable& table = fields.tables.emplace_back();
    table.precision = HighNibble(head);
    table.id = LowNibble(head);
    const auto valueBytes = static_cast<std::size_t>(QuantisationValueBits(table.precision, rule) / 8);
    if (reader.Remaining() < kQuantisationValues * valueBytes) {
      return fields;
    }
    table.values = NaturalOrder(reader.Take(kQuantisationValues * valueBytes), valueBytes);
  }
  fields.whole = true;
  return fields;
}

// As for DQT: a cut-off table ends the list with what of it fits.
HuffmanFields ReadHuffmanFields(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  HuffmanFields fields;
  while (reader.Remaining() > 0) {
    const std::uint8_t head = reader.Byte();
    HuffmanTable& table = fields.tables.emplace_back();
    table.tableClass = HighNibble(head);
    table.id = LowNibble(head);
    if (reader.Remaining() < kHuffmanCodeLengths) {
      return fields;
    }
    auto& counts = table.counts.emplace();
    std::ranges::copy(reader.Take(kHuffmanCodeLengths), counts.begin());
    const std::size_t total = std::accumulate(counts.begin(), counts.end(), std::size_t{0});
    if (reader.Remaining() < total) {
      return fields;
    }
    table.symbols = reader.Take(total);
  }
  fields.whole = true;
  return fields;
}

WordFields ReadWordFields(std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  WordFields fields;
  fields.value = ReadWord(reader);
  fields.whole = fields.value && reader.Remaining() == 0;
  return fields;
}

std::optional<std::string_view> ReadIdentifier(std::span<const std::uint8_t> payload) {
  const auto reach = payload.first(std::min(payload.size(), kIdentifierReach));
  const auto end = std::find(reach.begin(), reach.end(), 0);
  if (end == reach.end() || !std::all_of(reach.begin(), end, [](std::uint8_t b) { return b >= 0x20 && b <= 0x7E; })) {
    return std::nullopt;
  }
  return std::string_view(reinterpret_cast<const char*>(reach.data()), static_cast<std::size_t>(end - reach.begin()));
}

std::optional<JfifFields> ReadJfifFields(std::span<const std::uint8_t> payload) {
  if (ReadIdentifier(payload) != kJfifIdentifier) {
    return std::nullopt;
  }
  ByteReader reader(payload);
  reader.Skip(kJfifIdentifier.size() + 1);
  if (reader.Remaining() < kJfifFieldBytes) {
    return std::nullopt;
  }
  JfifFields fields;
  fields.majorVersion = reader.Byte();
  fields.minorVersion = reader.Byte();
  fields.units = reader.Byte();
  fields.xDensity = TakeWord(reader);
  fields.yDensity = TakeWord(reader);
  fields.thumbnailWidth = reader.Byte();
  fields.thumbnailHeight = reader.Byte();
  return fields;
}

bool IsFrameCode(std::uint8_t code) {
  return code >= marker::kSof0 && code <= marker::kSof15 && code != marker::kDht && code != marker::kJpg &&
         code != marker::kDac;
}

}  // namespace vellumark
