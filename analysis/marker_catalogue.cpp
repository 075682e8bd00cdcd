#include "analysis/marker_catalogue.h"

#include "analysis/report_text.h"

namespace vellumark {

namespace {

std::string Numbered(const char* prefix, int number) { return prefix + std::to_string(number); }

}  // namespace

std::string MarkerName(std::uint8_t code) {
  // DHT, JPG and DAC sit inside the SOF range and take precedence over it.
  switch (code) {
    case 0xC4: return "DHT";
    case 0xC8: return "JPG";
    case 0xCC: return "DAC";
    case 0xD8: return "SOI";
    case 0xD9: return "EOI";
    case 0xDA: return "SOS";
    case 0xDB: return "DQT";
    case 0xDC: return "DNL";
    case 0xDD: return "DRI";
    case 0xDE: return "DHP";
    case 0xDF: return "EXP";
    case 0xFE: return "COM";
    case 0xFF: return "JPEGCode";
    case 0x00: return "&HFF";
    case 0x01: return "TEM";
    default: break;
  }
  if (code >= 0xC0 && code <= 0xCF) return Numbered("SOF", code - 0xC0);
  if (code >= 0xD0 && code <= 0xD7) return Numbered("RST", code - 0xD0);
  if (code >= 0xE0 && code <= 0xEF) return Numbered("APP", code - 0xE0);
  if (code >= 0xF0 && code <= 0xFD) return Numbered("JPG", code - 0xF0);
  return "RES";
}

std::string Hex2(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
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
