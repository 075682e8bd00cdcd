#include "cli/segment_json.h"

#include <optional>
#include <string>
#include <string_view>

#include "analysis/huffman_codes.h"
#include "analysis/ijg_quality.h"
#include "analysis/marker_code.h"
#include "analysis/segment_fields.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

// Fields absent from the payload are left out of the object.
void WriteOptional(JsonWriter& json, std::string_view key, std::optional<std::int64_t> value) {
  if (value) {
    json.Member(key, *value);
  }
}

bool WriteFrame(std::span<const std::uint8_t> payload, JsonWriter& json) {
  const FrameFields frame = ReadFrameFields(payload);
  json.Key("frame").BeginObject();
  WriteOptional(json, "precision", frame.precision);
  WriteOptional(json, "height", frame.height);
  WriteOptional(json, "width", frame.width);
  if (frame.components) {
    json.Key("components").BeginArray();
    for (const FrameComponent& component : *frame.components) {
      json.BeginObject().Member("id", component.id).Member("h", component.h).Member("v", component.v);
      json.Member("tq", component.tq).EndObject();
    }
    json.EndArray();
  }
  json.EndObject();
  return frame.whole;
}

bool WriteScan(std::span<const std::uint8_t> payload, JsonWriter& json) {
  const ScanFields scan = ReadScanFields(payload);
  json.Key("scan").BeginObject();
  if (scan.components) {
    json.Key("components").BeginArray();
    for (const ScanComponent& component : *scan.components) {
      json.BeginObject().Member("id", component.id).Member("td", component.td).Member("ta", component.ta);
      json.EndObject();
    }
    json.EndArray();
  }
  WriteOptional(json, "ss", scan.ss);
  WriteOptional(json, "se", scan.se);
  WriteOptional(json, "ah", scan.ah);
  WriteOptional(json, "al", scan.al);
  json.EndObject();
  return scan.whole;
}

// Every complete table, its values read as libjpeg reads them.
bool WriteQuantisationTables(std::span<const std::uint8_t> payload, JsonWriter& json) {
  const QuantisationFields fields = ReadQuantisationFields(payload, QuantisationPrecision::FromTable);
  json.Key("tables").BeginArray();
  for (const QuantisationTable& table : fields.tables) {
    if (!table.values) {
      break;
    }
    json.BeginObject().Member("id", table.id);
    json.Member("precision", QuantisationValueBits(table.precision, QuantisationPrecision::FromTable));
    json.Key("values").BeginArray();
    for (const std::uint16_t value : *table.values) {
      json.Int(value);
    }
    json.EndArray().Key("ijg_quality");
    if (const auto quality = IjgQuality(*table.values)) {
      json.Int(*quality);
    } else {
      json.Null();
    }
    json.EndObject();
  }
  json.EndArray();
  return fields.whole;
}

// Every complete table, with its codes built as the text report builds them.
bool WriteHuffmanTables(std::span<const std::uint8_t> payload, JsonWriter& json) {
  const HuffmanFields fields = ReadHuffmanFields(payload);
  json.Key("tables").BeginArray();
  for (const HuffmanTable& table : fields.tables) {
    if (!table.symbols) {
      break;
    }
    json.BeginObject().Member("class", table.tableClass).Member("id", table.id);
    json.Key("counts").BeginArray();
    for (const std::uint8_t count : *table.counts) {
      json.Int(count);
    }
    json.EndArray().Key("codes").BeginArray();
    ForEachHuffmanCode(*table.counts, *table.symbols,
                       [&json](std::uint8_t symbol, std::int32_t code, std::int32_t length) {
                         json.BeginObject().Member("symbol", symbol);
                         json.Key("code").String(BinaryString(code, length)).EndObject();
                       });
    json.EndArray().EndObject();
  }
  json.EndArray();
  return fields.whole;
}

bool WriteWordSegment(std::span<const std::uint8_t> payload, JsonWriter& json, std::string_view key) {
  const WordFields fields = ReadWordFields(payload);
  WriteOptional(json, key, fields.value);
  return fields.whole;
}

void WriteJfif(const JfifFields& jfif, JsonWriter& json) {
  std::string version = std::to_string(jfif.majorVersion) + ".";
  if (jfif.minorVersion < 10) {
    version += '0';
  }
  version += std::to_string(jfif.minorVersion);
  json.Key("jfif").BeginObject().Key("version").String(version);
  json.Member("units", jfif.units).Member("x_density", jfif.xDensity).Member("y_density", jfif.yDensity);
  json.Member("thumbnail_width", jfif.thumbnailWidth).Member("thumbnail_height", jfif.thumbnailHeight);
  json.EndObject();
}

void WriteApplication(std::uint8_t code, std::span<const std::uint8_t> payload, JsonWriter& json) {
  if (const auto identifier = ReadIdentifier(payload)) {
    json.Key("identifier").String(*identifier);
  }
  if (code != marker::kApp0) {
    return;
  }
  if (const auto jfif = ReadJfifFields(payload)) {
    WriteJfif(*jfif, json);
  }
}

}  // namespace

bool WriteSegmentDetails(JsonWriter& json, std::uint8_t code, std::span<const std::uint8_t> payload) {
  if (IsFrameCode(code)) {
    return !WriteFrame(payload, json);
  }
  if (code >= marker::kApp0 && code <= marker::kApp15) {
    WriteApplication(code, payload, json);
    return false;
  }
  switch (code) {
    case marker::kSos: return !WriteScan(payload, json);
    case marker::kDqt: return !WriteQuantisationTables(payload, json);
    case marker::kDht: return !WriteHuffmanTables(payload, json);
    case marker::kDri: return !WriteWordSegment(payload, json, "restart_interval");
    case marker::kDnl: return !WriteWordSegment(payload, json, "lines");
    case marker::kCom:
      json.Key("text").String({reinterpret_cast<const char*>(payload.data()), payload.size()});
      return false;
    default: return false;
  }
}

}  // namespace vellumark
