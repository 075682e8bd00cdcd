#include "analysis/xmp_directory.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "analysis/xml_guard.h"

namespace vellumark {
namespace {

using XmlNode = rapidxml::xml_node<char>;

constexpr std::string_view kDirectory = "Directory";

// The fields of one Container:Item, as attributes or as child elements.
struct ContainerItem {
  std::string_view semantic;
  std::string_view mime;
  std::optional<std::string_view> length;
  std::optional<std::string_view> padding;
};

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kSpace = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kSpace) + 1 - first);
}

// Prefixes are whatever the writer bound the namespaces to: names are matched
// by their local part.
std::string_view LocalName(const rapidxml::xml_base<char>& node) {
  const std::string_view name(node.name(), node.name_size());
  const std::size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view Value(const rapidxml::xml_base<char>& node) { return Trimmed({node.value(), node.value_size()}); }

const XmlNode* Child(const XmlNode& parent, std::string_view local) {
  for (const XmlNode* child = parent.first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element && LocalName(*child) == local) {
      return child;
    }
  }
  return nullptr;
}

// The first element named `local` in document order, walked without recursion.
const XmlNode* Find(const XmlNode& root, std::string_view local) {
  const XmlNode* node = root.first_node();
  while (node != nullptr) {
    if (node->type() == rapidxml::node_element && LocalName(*node) == local) {
      return node;
    }
    if (node->first_node() != nullptr) {
      node = node->first_node();
      continue;
    }
    while (node != &root && node->next_sibling() == nullptr) {
      node = node->parent();
    }
    node = node == &root ? nullptr : node->next_sibling();
  }
  return nullptr;
}

void Assign(std::string_view field, std::string_view value, ContainerItem& item) {
  if (field == "Semantic") item.semantic = value;
  if (field == "Mime") item.mime = value;
  if (field == "Length") item.length = value;
  if (field == "Padding") item.padding = value;
}

ContainerItem ReadItem(const XmlNode& node) {
  ContainerItem item;
  for (const auto* attribute = node.first_attribute(); attribute != nullptr; attribute = attribute->next_attribute()) {
    Assign(LocalName(*attribute), Value(*attribute), item);
  }
  for (const XmlNode* child = node.first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element) {
      Assign(LocalName(*child), Value(*child), item);
    }
  }
  return item;
}

// Container:Directory / rdf:Seq / rdf:li / Container:Item, in order.
std::vector<ContainerItem> ReadItems(const XmlNode& directory) {
  std::vector<ContainerItem> items;
  const XmlNode* sequence = Child(directory, "Seq");
  for (const XmlNode* entry = sequence != nullptr ? sequence->first_node() : nullptr; entry != nullptr;
       entry = entry->next_sibling()) {
    const bool listed = entry->type() == rapidxml::node_element && LocalName(*entry) == "li";
    const XmlNode* item = listed ? Child(*entry, "Item") : nullptr;
    if (item != nullptr) {
      items.push_back(ReadItem(*item));
    }
  }
  return items;
}

std::optional<std::int64_t> Count(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0) {
    return std::nullopt;
  }
  return value;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Media types are the same whatever the case of their letters.
std::string LowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) == Lower(y); });
}

ImageFormat FormatOfMime(std::string_view mime) {
  if (SameLetters(mime, "image/jpeg")) return ImageFormat::Jpeg;
  for (std::string_view media : {"video/mp4", "video/quicktime", "image/heic", "image/avif"}) {
    if (SameLetters(mime, media)) return ImageFormat::IsoMedia;
  }
  return ImageFormat::Unknown;
}

ImageRole RoleOfSemantic(std::string_view semantic) {
  if (semantic == "GainMap") return ImageRole::GainMap;
  if (semantic == "MotionPhoto") return ImageRole::MotionPhoto;
  return ImageRole::Other;
}

// Places the items after the first from the file's end backwards; false at the
// first one that cannot be placed (the ones placed before it stay).
bool Place(const std::vector<ContainerItem>& items, std::int64_t fileSize, DeclarationOutcome& outcome) {
  std::int64_t end = fileSize;
  for (std::size_t i = items.size(); i-- > 1;) {
    const ContainerItem& item = items[i];
    if (i + 1 < items.size()) {
      const std::optional<std::int64_t> padding = Count(item.padding.value_or("0"));
      if (!padding) return false;
      end -= *padding;
    }
    const std::optional<std::int64_t> length = item.length ? Count(*item.length) : std::nullopt;
    if (!length || *length > end) return false;
    end -= *length;
    DeclaredImage image;
    image.offset = end;
    image.length = *length;
    image.format = FormatOfMime(item.mime);
    image.mime = LowerCase(item.mime);
    image.role = RoleOfSemantic(item.semantic);
    image.foundBy = FoundBy::Xmp;
    outcome.images.push_back(std::move(image));
  }
  std::reverse(outcome.images.begin(), outcome.images.end());
  return true;
}

// Parses the XML, where the guard lets it; nothing when it cannot be parsed.
std::unique_ptr<rapidxml::xml_document<char>> Parse(std::vector<char>& text) {
  if (GuardXml({text.data(), text.size() - 1}) != XmlGuard::Fine) {
    return nullptr;
  }
  // On the heap: the document holds a 64 KB pool.
  auto document = std::make_unique<rapidxml::xml_document<char>>();
  try {
    document->parse<rapidxml::parse_default>(text.data());
  } catch (const rapidxml::parse_error&) {
    return nullptr;
  }
  return document;
}

}  // namespace

DeclarationOutcome ReadXmpDirectory(std::span<const std::uint8_t> payload, std::int64_t payloadOffset,
                                    std::int64_t fileSize) {
  DeclarationOutcome outcome;
  const auto xml = payload.subspan(kXmpIdentifier.size());
  // No entity reference can spell a name, so a packet without these letters has
  // no directory: most packets are never parsed, and their XML is no concern here.
  const std::string_view letters(reinterpret_cast<const char*>(xml.data()), xml.size());
  if (letters.find(kDirectory) == std::string_view::npos) {
    return outcome;
  }
  const DeclarationFault whole{payloadOffset, static_cast<std::int64_t>(payload.size())};
  // rapidxml parses in place and stops at a zero byte.
  std::vector<char> text(xml.begin(), xml.end());
  text.push_back('\0');
  const auto document = Parse(text);
  if (document == nullptr) {
    outcome.faults.push_back(whole);
    return outcome;
  }
  const XmlNode* directory = Find(*document, kDirectory);
  if (directory != nullptr && !Place(ReadItems(*directory), fileSize, outcome)) {
    outcome.faults.push_back(whole);
  }
  return outcome;
}

}  // namespace vellumark
