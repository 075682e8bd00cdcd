#include "analysis/xml_guard.h"

namespace vellumark {
namespace {

// The end of a construct opened at `from` and closed by `close`; npos when it
// is never closed (the parser then refuses the text).
std::size_t After(std::string_view text, std::size_t from, std::string_view close) {
  const std::size_t found = text.find(close, from);
  return found == std::string_view::npos ? found : found + close.size();
}

// The end of the tag opened at `from`, quoted attribute values passed over.
std::size_t TagEnd(std::string_view text, std::size_t from) {
  for (std::size_t at = from; at < text.size(); ++at) {
    if (text[at] == '"' || text[at] == '\'') {
      at = text.find(text[at], at + 1);
      if (at == std::string_view::npos) {
        return at;
      }
    } else if (text[at] == '>') {
      return at + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

XmlGuard GuardXml(std::string_view text, int bound) {
  int depth = 0;
  std::size_t at = text.find('<');
  while (at != std::string_view::npos) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      at = After(text, at + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      at = After(text, at + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      at = After(text, at + 2, "?>");
    } else if (rest.starts_with("<!")) {
      return XmlGuard::Declaration;
    } else if (rest.starts_with("</")) {
      depth = depth > 0 ? depth - 1 : 0;
      at = TagEnd(text, at + 2);
    } else {
      at = TagEnd(text, at + 1);
      const bool empty = at != std::string_view::npos && text[at - 2] == '/';
      if (!empty && ++depth > bound) {
        return XmlGuard::TooDeep;
      }
    }
    if (at != std::string_view::npos) {
      at = text.find('<', at);
    }
  }
  return XmlGuard::Fine;
}

}  // namespace vellumark
