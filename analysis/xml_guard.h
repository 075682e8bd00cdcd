#pragma once

#include <string_view>

namespace vellumark {

enum class XmlGuard { Fine, TooDeep, Declaration };

// How deep an XMP packet's elements may nest: far more than any writer uses,
// and little enough for a recursive parser on a 1 MB thread stack.
inline constexpr int kXmlDepthBound = 64;

// Looks over XML text before a recursive parser is given it, in one pass:
// refuses elements nested deeper than `bound` and any DOCTYPE or other <!
// declaration (XMP never has one, and entity definitions live there). Comments,
// CDATA, processing instructions and quoted attribute values are skipped, so
// what they hold is not taken for tags. It never finds text shallower than a
// parser would: an unpaired closing tag does not lower the depth below 0.
[[nodiscard]] XmlGuard GuardXml(std::string_view text, int bound = kXmlDepthBound);

}  // namespace vellumark
