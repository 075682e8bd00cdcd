#include "analysis/marker_catalogue.h"

#include "analysis/marker_code.h"
#include "analysis/report_text.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

std::string Numbered(const char* prefix, int number) { return prefix + std::to_string(number); }

}  // namespace

std::string MarkerName(std::uint8_t code) {
  // DHT, JPG and DAC sit inside the SOF range and take precedence over it.
  switch (code) {
    case marker::kDht: return "DHT";
    case marker::kJpg: return "JPG";
    case marker::kDac: return "DAC";
    case marker::kSoi: return "SOI";
    case marker::kEoi: return "EOI";
    case marker::kSos: return "SOS";
    case marker::kDqt: return "DQT";
    case marker::kDnl: return "DNL";
    case marker::kDri: return "DRI";
    case marker::kDhp: return "DHP";
    case marker::kExp: return "EXP";
    case marker::kCom: return "COM";
    case marker::kPrefix: return "JPEGCode";
    case marker::kStuffedZero: return "&HFF";
    case marker::kTem: return "TEM";
    default: break;
  }
  if (code >= marker::kSof0 && code <= marker::kSof15) return Numbered("SOF", code - marker::kSof0);
  if (code >= marker::kRst0 && code <= marker::kRst7) return Numbered("RST", code - marker::kRst0);
  if (code >= marker::kApp0 && code <= marker::kApp15) return Numbered("APP", code - marker::kApp0);
  if (code >= marker::kJpg0 && code <= marker::kJpg13) return Numbered("JPG", code - marker::kJpg0);
  return "RES";
}

std::string Hex2(std::uint8_t value) {
  return {HexDigit(HighNibble(value)), HexDigit(LowNibble(value))};
}

std::string MarkerCodeTable() {
  std::string table(report_text::kCodeTableHeading);
  table += report_text::kLineEnd;
  table += report_text::kLineEnd;
  for (int code = 0xC0; code <= 0xFF; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    table += Hex2(byte) + ":" + MarkerName(byte);
    table += report_text::kLineEnd;
  }
  return table;
}

}  // namespace vellumark
