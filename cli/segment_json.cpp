#include "cli/segment_json.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/byte_reader.h"
#include "analysis/huffman_codes.h"
#include "analysis/ijg_quality.h"
#include "analysis/jpeg_tables.h"
#include "analysis/length_field.h"
#include "analysis/marker_code.h"
#include "analysis/thumbnail_search.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

// An identifier's ending 00 byte lies within this many bytes of the payload.
constexpr std::size_t kIdentifierReach = 65;

// Each Write function below writes the fields that fit completely and
// returns false at the first one that does not.

bool WriteByte(ByteReader& reader, JsonWriter& json, std::string_view key) {
  if (reader.Remaining() < 1) {
    return false;
  }
  json.Member(key, reader.Byte());
  return true;
}

bool WriteWord(ByteReader& reader, JsonWriter& json, std::string_view key) {
  if (reader.Remaining() < 2) {
    return false;
  }
  const auto bytes = reader.Take(2);
  json.Member(key, BigEndianWord(bytes[0], bytes[1]));
  return true;
}

// A byte holding two four-bit fields: both fit or neither does.
bool WriteNibbles(ByteReader& reader, JsonWriter& json, std::string_view highKey, std::string_view lowKey) {
  if (reader.Remaining() < 1) {
    return false;
  }
  const std::uint8_t byte = reader.Byte();
  json.Member(highKey, HighNibble(byte)).Member(lowKey, LowNibble(byte));
  return true;
}

// A count byte and that many components of size bytes each.
template <typename WriteComponent>
bool WriteComponents(ByteReader& reader, JsonWriter& json, std::size_t size, WriteComponent writeComponent) {
  if (reader.Remaining() < 1) {
    return false;
  }
  const std::uint8_t count = reader.Byte();
  json.Key("components").BeginArray();
  std::uint8_t written = 0;
  for (; written < count && reader.Remaining() >= size; ++written) {
    ByteReader component(reader.Take(size));
    json.BeginObject();
    writeComponent(component);
    json.EndObject();
  }
  json.EndArray();
  return written == count;
}

// T.81 B.2.2.
bool WriteFrame(ByteReader& reader, JsonWriter& json) {
  json.Key("frame").BeginObject();
  const bool whole = WriteByte(reader, json, "precision") && WriteWord(reader, json, "height") &&
                     WriteWord(reader, json, "width") &&
                     WriteComponents(reader, json, 3, [&json](ByteReader& component) {
                       json.Member("id", component.Byte());
                       WriteNibbles(component, json, "h", "v");
                       json.Member("tq", component.Byte());
                     });
  json.EndObject();
  return whole;
}

// T.81 B.2.3.
bool WriteScan(ByteReader& reader, JsonWriter& json) {
  json.Key("scan").BeginObject();
  const bool whole = WriteComponents(reader, json, 2,
                                     [&json](ByteReader& component) {
                                       json.Member("id", component.Byte());
                                       WriteNibbles(component, json, "td", "ta");
                                     }) &&
                     WriteByte(reader, json, "ss") && WriteByte(reader, json, "se") &&
                     WriteNibbles(reader, json, "ah", "al");
  json.EndObject();
  return whole;
}

// Every complete table; Pq other than 0 means 16-bit values, as libjpeg reads it.
bool WriteQuantisationTables(ByteReader& reader, JsonWriter& json) {
  const ZigZagTable& zigzag = ZigZagIndex();
  json.Key("tables").BeginArray();
  bool whole = true;
  while (reader.Remaining() > 0) {
    const std::uint8_t head = reader.Byte();
    const bool sixteenBit = HighNibble(head) != 0;
    const std::size_t valueSize = sixteenBit ? 2 : 1;
    if (reader.Remaining() < kQuantisationValues * valueSize) {
      whole = false;
      break;
    }
    const auto bytes = reader.Take(kQuantisationValues * valueSize);
    QuantisationValues values{};
    for (std::size_t natural = 0; natural < kQuantisationValues; ++natural) {
      const std::size_t at = zigzag[natural] * valueSize;
      values[natural] = static_cast<std::uint16_t>(sixteenBit ? BigEndianWord(bytes[at], bytes[at + 1]) : bytes[at]);
    }
    json.BeginObject().Member("id", LowNibble(head)).Member("precision", sixteenBit ? 16 : 8);
    json.Key("values").BeginArray();
    for (const std::uint16_t value : values) {
      json.Int(value);
    }
    json.EndArray().Key("ijg_quality");
    if (const auto quality = IjgQuality(values)) {
      json.Int(*quality);
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
  return whole;
}

// Every complete table, with its codes built as the text report builds them.
bool WriteHuffmanTables(ByteReader& reader, JsonWriter& json) {
  json.Key("tables").BeginArray();
  bool whole = true;
  while (reader.Remaining() > 0) {
    if (reader.Remaining() <= kHuffmanCodeLengths) {
      whole = false;
      break;
    }
    const std::uint8_t head = reader.Byte();
    const auto counts = reader.Take(kHuffmanCodeLengths);
    const std::size_t total = std::accumulate(counts.begin(), counts.end(), std::size_t{0});
    if (reader.Remaining() < total) {
      whole = false;
      break;
    }
    const auto symbols = reader.Take(total);
    json.BeginObject().Member("class", HighNibble(head)).Member("id", LowNibble(head));
    json.Key("counts").BeginArray();
    for (const std::uint8_t count : counts) {
      json.Int(count);
    }
    json.EndArray().Key("codes").BeginArray();
    ForEachHuffmanCode(counts, symbols, [&json](std::uint8_t symbol, std::int32_t code, std::int32_t length) {
      json.BeginObject().Member("symbol", symbol).Key("code").String(BinaryString(code, length)).EndObject();
    });
    json.EndArray().EndObject();
  }
  json.EndArray();
  return whole;
}

bool WriteWordSegment(ByteReader& reader, JsonWriter& json, std::string_view key) {
  return WriteWord(reader, json, key) && reader.Remaining() == 0;
}

// The bytes up to the first 00, where that lies within reach and every byte
// before it is printable ASCII; written and returned.
std::optional<std::string_view> WriteIdentifier(std::span<const std::uint8_t> payload, JsonWriter& json) {
  const auto reach = payload.first(std::min(payload.size(), kIdentifierReach));
  const auto end = std::find(reach.begin(), reach.end(), 0);
  if (end == reach.end() || !std::all_of(reach.begin(), end, [](std::uint8_t b) { return b >= 0x20 && b <= 0x7E; })) {
    return std::nullopt;
  }
  const std::string_view identifier(reinterpret_cast<const char*>(reach.data()),
                                    static_cast<std::size_t>(end - reach.begin()));
  json.Key("identifier").String(identifier);
  return identifier;
}

// The fields after "JFIF" and its 00 byte; the caller has checked that the
// segment holds them all.
void WriteJfif(std::span<const std::uint8_t> payload, JsonWriter& json) {
  ByteReader reader(payload.subspan(5));
  const auto version = reader.Take(2);
  std::string text = std::to_string(version[0]) + ".";
  if (version[1] < 10) {
    text += '0';
  }
  text += std::to_string(version[1]);
  json.Key("jfif").BeginObject().Key("version").String(text);
  json.Member("units", reader.Byte());
  WriteWord(reader, json, "x_density");
  WriteWord(reader, json, "y_density");
  json.Member("thumbnail_width", reader.Byte()).Member("thumbnail_height", reader.Byte());
  json.EndObject();
}

bool IsFrameCode(std::uint8_t code) {
  return code >= marker::kSof0 && code <= marker::kSof15 && code != marker::kDht && code != marker::kJpg &&
         code != marker::kDac;
}

}  // namespace

bool WriteSegmentDetails(JsonWriter& json, std::uint8_t code, std::span<const std::uint8_t> payload) {
  ByteReader reader(payload);
  if (IsFrameCode(code)) {
    return !(WriteFrame(reader, json) && reader.Remaining() == 0);
  }
  if (code >= marker::kApp0 && code <= marker::kApp15) {
    const auto identifier = WriteIdentifier(payload, json);
    if (code == marker::kApp0 && identifier == "JFIF" &&
        static_cast<std::int64_t>(payload.size()) + kLengthFieldSize >= kJfifFixedLength) {
      WriteJfif(payload, json);
    }
    return false;
  }
  switch (code) {
    case marker::kSos: return !(WriteScan(reader, json) && reader.Remaining() == 0);
    case marker::kDqt: return !WriteQuantisationTables(reader, json);
    case marker::kDht: return !WriteHuffmanTables(reader, json);
    case marker::kDri: return !WriteWordSegment(reader, json, "restart_interval");
    case marker::kDnl: return !WriteWordSegment(reader, json, "lines");
    case marker::kCom:
      json.Key("text").String({reinterpret_cast<const char*>(payload.data()), payload.size()});
      return false;
    default: return false;
  }
}

}  // namespace vellumark
