#include "analysis/segment_detail.h"

#include <algorithm>
#include <array>
#include <string>

#include "analysis/huffman_codes.h"
#include "analysis/length_field.h"
#include "analysis/marker_code.h"
#include "analysis/number_text.h"
#include "analysis/report_text.h"
#include "analysis/segment_fields.h"
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

// A table cut off by the end of the segment lists what of it was read; the
// listing ends there.
void ListHuffmanTables(std::span<const std::uint8_t> payload, std::string& text, const AcOption& showAcCodes) {
  AppendLine(text, report_text::kHuffmanHeading);
  const HuffmanFields fields = ReadHuffmanFields(payload);
  for (const HuffmanTable& table : fields.tables) {
    AppendLabelledNibble(text, report_text::kTableClass, table.tableClass);
    AppendLabelledNibble(text, report_text::kHuffmanTableId, table.id);
    if (!table.counts) {
      return;
    }
    AppendHeadingRow(text);
    AppendCountRow(text, *table.counts);
    if (!table.symbols) {
      return;
    }
    const bool isDcTable = table.tableClass == 0;
    if (isDcTable || showAcCodes()) {
      AppendCodeList(text, *table.counts, *table.symbols, isDcTable);
    } else {
      AppendLine(text, report_text::kAcTableHidden);
    }
    text += report_text::kLineEnd;
  }
}

void AppendValueGrid(std::string& text, const std::array<std::uint16_t, kQuantisationValues>& values) {
  const std::size_t width = DecimalDigits(*std::max_element(values.begin(), values.end()));
  for (std::size_t row = 0; row < 8; ++row) {
    for (std::size_t column = 0; column < 8; ++column) {
      AppendRightAligned(text, values[row * 8 + column], width);
      text += ',';
    }
    text += report_text::kLineEnd;
  }
  text += report_text::kLineEnd;
}

// Every table is taken as 64 one-byte values whatever its precision says, so a
// 16-bit table's second half is read as a further table.
void ListQuantisationTables(std::span<const std::uint8_t> payload, std::string& text) {
  AppendLine(text, report_text::kQuantisationHeading);
  const QuantisationFields fields = ReadQuantisationFields(payload, QuantisationPrecision::AlwaysEightBit);
  for (const QuantisationTable& table : fields.tables) {
    AppendLabelledNibble(text, report_text::kPrecision, table.precision);
    AppendLabelledNibble(text, report_text::kQuantisationTableId, table.id);
    if (!table.values) {
      return;
    }
    AppendValueGrid(text, *table.values);
  }
}

}  // namespace

void ShowSegmentDetail(std::uint8_t code, std::span<const std::uint8_t> segment,
                       const AcOption& showAcCodes, ReportSink& sink) {
  std::string detail;
  const auto payload = segment.subspan(std::min(static_cast<std::size_t>(kLengthFieldSize), segment.size()));
  if (code == marker::kDht) {
    ListHuffmanTables(payload, detail, showAcCodes);
  } else if (code == marker::kDqt) {
    ListQuantisationTables(payload, detail);
  }
  detail += report_text::kLineEnd;
  sink.Append(detail);
}

}  // namespace vellumark
