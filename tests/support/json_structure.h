#pragma once

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vellumark::testing {

// Checks one line of vellumark-report --json: it parses, it is exactly the
// compact form that the parser writes back (keys in their order), and in a
// JPEG file every byte lies in exactly one span: a marker's (a bad length
// still spans its field), an entropy span, a problem's or the trailing bytes.
// Returns the first fault found, or an empty string. An object cut short by a
// read error or an interruption is only checked for its form.
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
  // at() throws where a key is missing: a fault, not a silent zero.
  auto number = [](const auto& part, const char* key) { return part.at(key).template get<std::int64_t>(); };
  const std::int64_t size = number(object, "size");
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;  // offset, end
  auto addSpan = [&](const auto& part) {
    spans.emplace_back(number(part, "offset"), number(part, "offset") + number(part, "length"));
  };
  for (const auto& segment : object.at("segments")) {
    const std::int64_t length = segment.contains("length") ? std::max<std::int64_t>(number(segment, "length"), 2) : 0;
    const std::int64_t offset = number(segment, "offset");
    spans.emplace_back(offset, std::min(size, offset + number(segment, "fill") + 2 + length));
    if (segment.contains("entropy")) {
      addSpan(segment.at("entropy"));
    }
  }
  for (const auto& problem : object.at("problems")) {
    addSpan(problem);
  }
  if (object.contains("trailing")) {
    addSpan(object.at("trailing"));
  }
  std::erase_if(spans, [](const auto& span) { return span.first == span.second; });
  std::sort(spans.begin(), spans.end());
  std::int64_t covered = 0;
  for (const auto& [offset, end] : spans) {
    if (offset != covered || end < offset) {
      return "the spans do not tile the file at offset " + std::to_string(covered);
    }
    covered = end;
  }
  return covered == size ? std::string() : "the spans end at " + std::to_string(covered);
}

}  // namespace vellumark::testing
