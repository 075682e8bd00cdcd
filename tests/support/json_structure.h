#pragma once

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vellumark::testing {

// Whether the spans of object, a file's or a picture's, tile [begin, end): every
// byte in exactly one span, a marker's (a bad length still spans its field),
// an entropy span, a problem's or the trailing bytes. Bad declarations lie
// inside segments and are left out. Each JPEG picture inside tiles its own
// span, as far as it lies in the file. Returns the first fault, or "".
inline std::string TilingFault(const nlohmann::ordered_json& object, std::int64_t begin, std::int64_t end) {
  if (!object.value("jpeg", false) || object.contains("error") || object.contains("interrupted")) {
    return {};
  }
  // at() throws where a key is missing: a fault, not a silent zero.
  auto number = [](const auto& part, const char* key) { return part.at(key).template get<std::int64_t>(); };
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;  // offset, end
  auto addSpan = [&](const auto& part) {
    spans.emplace_back(number(part, "offset"), number(part, "offset") + number(part, "length"));
  };
  for (const auto& segment : object.at("segments")) {
    const std::int64_t length = segment.contains("length") ? std::max<std::int64_t>(number(segment, "length"), 2) : 0;
    const std::int64_t offset = number(segment, "offset");
    spans.emplace_back(offset, std::min(end, offset + number(segment, "fill") + 2 + length));
    if (segment.contains("entropy")) {
      addSpan(segment.at("entropy"));
    }
  }
  for (const auto& problem : object.at("problems")) {
    if (problem.at("kind") != "bad-declaration") {
      addSpan(problem);
    }
  }
  if (object.contains("trailing")) {
    addSpan(object.at("trailing"));
  }
  std::erase_if(spans, [](const auto& span) { return span.first == span.second; });
  std::sort(spans.begin(), spans.end());
  std::int64_t covered = begin;
  for (const auto& [offset, spanEnd] : spans) {
    if (offset != covered || spanEnd < offset) {
      return "the spans do not tile the file at offset " + std::to_string(covered);
    }
    covered = spanEnd;
  }
  if (covered != end) {
    return "the spans end at " + std::to_string(covered);
  }
  for (const auto& image : object.value("images", nlohmann::ordered_json::array())) {
    if (image.contains("structure")) {
      std::int64_t imageEnd = number(image, "offset") + number(image, "length");
      for (const auto& problem : image.at("problems")) {
        if (problem.at("kind") == "image-out-of-file") {
          imageEnd = std::max(number(image, "offset"), number(problem, "offset"));
        }
      }
      if (auto fault = TilingFault(image.at("structure"), number(image, "offset"), imageEnd); !fault.empty()) {
        return "in the picture at " + std::to_string(number(image, "offset")) + ": " + fault;
      }
    }
  }
  return {};
}

// Checks one line of vellumark-report --json: it parses, it is exactly the
// compact form that the parser writes back (keys in their order), and its
// spans tile the file (TilingFault). Returns the first fault found, or an
// empty string. An object cut short by a read error or an interruption is only
// checked for its form.
inline std::string JsonLineFault(const std::string& line) {
  if (line.empty() || line.back() != '\n' || std::count(line.begin(), line.end(), '\n') != 1) {
    return "not one line ending in LF";
  }
  const auto object = nlohmann::ordered_json::parse(line, nullptr, false);
  if (object.is_discarded()) {
    return "not JSON";
  }
  if (object.dump() + "\n" != line) {
    return "not the compact form: " + object.dump();
  }
  if (!object.value("jpeg", false) || object.contains("error") || object.contains("interrupted")) {
    return {};
  }
  return TilingFault(object, 0, object.at("size").get<std::int64_t>());
}

}  // namespace vellumark::testing
