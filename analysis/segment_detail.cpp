#include "analysis/segment_detail.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "analysis/byte_reader.h"
#include "analysis/huffman_codes.h"
#include "analysis/jpeg_tables.h"
#include "analysis/length_field.h"
#include "analysis/marker_code.h"
#include "analysis/number_text.h"
#include "analysis/report_text.h"
#include "common/bytes.h"

namespace vellumark {

namespace {

constexpr std::size_t kCountFieldWidth = 4;

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += report_text::kLineEnd;
}

void AppendLabelledNibble(std::string& text, std::string_view label, std::uint8_t nibble) {
  text += label;
  AppendDecimal(text, nibble);
  text += report_text::kLineEnd;
}

void AppendCountRow(std::string& text, std::span<const std::uint8_t> counts) {
  for (std::size_t i = 0; i < counts.size(); ++i) {
    AppendRightAligned(text, counts[i], kCountFieldWidth);
  }
  text += report_text::kLineEnd;
}

void AppendHeadingRow(std::string& text) {
  for (std::size_t length = 1; length <= kHuffmanCodeLengths; ++length) {
    AppendRightAligned(text, static_cast<std::int64_t>(length), kCountFieldWidth);
  }
  text += report_text::kLineEnd;
}

// A DC symbol is a size category, shown in decimal; an AC symbol is a zero run
// and a size category, shown as two hexadecimal digits around a slash.
void AppendSymbol(std::string& text, std::uint8_t symbol, bool isDcTable) {
  if (isDcTable) {
    AppendDecimal(text, symbol);
    return;
  }
  text += HexDigit(HighNibble(symbol));
  text += '/';
  text += HexDigit(LowNibble(symbol));
}

void AppendCodeList(std::string& text, std::span<const std::uint8_t> counts,
                    std::span<const std::uint8_t> symbols, bool isDcTable) {
  ForEachHuffmanCode(counts, symbols, [&](std::uint8_t symbol, std::int32_t code, std::int32_t length) {
    AppendSymbol(text, symbol, isDcTable);
    text += '\t';
    text += BinaryString(code, length);
    text += report_text::kLineEnd;
  });
}

// Each check below ends the listing at the first part of a table that does not
// lie wholly inside the segment; what was listed so far stays.
void ListHuffmanTables(ByteReader reader, std::string& text, const AcOption& showAcCodes) {
  AppendLine(text, report_text::kHuffmanHeading);
  while (reader.Remaining() > 0) {
    const std::uint8_t classAndId = reader.Byte();
    AppendLabelledNibble(text, report_text::kTableClass, HighNibble(classAndId));
    AppendLabelledNibble(text, report_text::kHuffmanTableId, LowNibble(classAndId));
    if (reader.Remaining() < kHuffmanCodeLengths) {
      return;
    }
    const auto counts = reader.Take(kHuffmanCodeLengths);
    AppendHeadingRow(text);
    AppendCountRow(text, counts);
    const std::size_t total = std::accumulate(counts.begin(), counts.end(), std::size_t{0});
    if (reader.Remaining() < total) {
      return;
    }
    const auto symbols = reader.Take(total);
    const bool isDcTable = HighNibble(classAndId) == 0;
    if (isDcTable || showAcCodes()) {
      AppendCodeList(text, counts, symbols, isDcTable);
    } else {
      AppendLine(text, report_text::kAcTableHidden);
    }
    text += report_text::kLineEnd;
  }
}

// Every table is taken as 64 one-byte values whatever its precision says, so a
// 16-bit table's second half is read as a further table.
void ListQuantisationTables(ByteReader reader, std::string& text) {
  AppendLine(text, report_text::kQuantisationHeading);
  const ZigZagTable& zigzag = ZigZagIndex();
  while (reader.Remaining() > 0) {
    const std::uint8_t precisionAndId = reader.Byte();
    AppendLabelledNibble(text, report_text::kPrecision, HighNibble(precisionAndId));
    AppendLabelledNibble(text, report_text::kQuantisationTableId, LowNibble(precisionAndId));
    if (reader.Remaining() < kQuantisationValues) {
      return;
    }
    const auto values = reader.Take(kQuantisationValues);
    const std::size_t width = DecimalDigits(*std::max_element(values.begin(), values.end()));
    for (std::size_t row = 0; row < 8; ++row) {
      for (std::size_t column = 0; column < 8; ++column) {
        AppendRightAligned(text, values[zigzag[row * 8 + column]], width);
        text += ',';
      }
      text += report_text::kLineEnd;
    }
    text += report_text::kLineEnd;
  }
}

}  // namespace

void ShowSegmentDetail(std::uint8_t code, std::span<const std::uint8_t> segment,
                       const AcOption& showAcCodes, ReportSink& sink) {
  std::string detail;
  ByteReader reader(segment);
  reader.Skip(std::min(static_cast<std::size_t>(kLengthFieldSize), segment.size()));
  if (code == marker::kDht) {
    ListHuffmanTables(reader, detail, showAcCodes);
  } else if (code == marker::kDqt) {
    ListQuantisationTables(reader, detail);
  }
  detail += report_text::kLineEnd;
  sink.Append(detail);
}

}  // namespace vellumark
