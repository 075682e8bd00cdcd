#pragma once

#include <string_view>

// Every label and message of the marker report, in one place. The report is
// UTF-8 in memory; lines end with CR LF.
namespace vellumark::report_text {

inline constexpr std::string_view kLineEnd = "\r\n";

// Walker lines. The colons are ASCII; the comma and the exclamation mark of the
// messages are full-width.
inline constexpr std::string_view kPosition = "位置:";
inline constexpr std::string_view kMarker = "标记:";
inline constexpr std::string_view kLength = "长度:";
inline constexpr std::string_view kFileTooShort = "这不是JPEG图片文件！";
inline constexpr std::string_view kNotAMarker = "非JPEG标记，或图像压缩数据";
inline constexpr std::string_view kBadLength = "错误的标记长度";

// The last line of a report cut short because it grew too long for the window,
// followed by the read position where the walk stopped.
inline constexpr std::string_view kReportCut = "报告过长，截断于位置:";

// Marker code table heading.
inline constexpr std::string_view kCodeTableHeading = "JPEGCode:";

// Table detail. "编 号" has a blank between its characters in the Huffman
// listing only.
inline constexpr std::string_view kHuffmanHeading = "【Huffman表】";
inline constexpr std::string_view kTableClass = "Tc(DC/AC):";
inline constexpr std::string_view kHuffmanTableId = "Th(编 号):";
inline constexpr std::string_view kAcTableHidden = "(已隐藏AC的Huffman表)";
inline constexpr std::string_view kQuantisationHeading = "【量化表】";
inline constexpr std::string_view kPrecision = "Pq(精度):";
inline constexpr std::string_view kQuantisationTableId = "Tq(编号):";

}  // namespace vellumark::report_text
