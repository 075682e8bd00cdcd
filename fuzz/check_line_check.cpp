// The check of each line of check_fuzzer, built without instrumentation like
// json_line_check.cpp and for the same reason. Prints what is wrong, so that a
// finding names its rule without a debugger.

#include <cstdint>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

bool JsonLineIsSound(const std::string& line);

namespace {

using Json = nlohmann::ordered_json;

std::int64_t Count(const Json& part, const char* key) { return part.at(key).get<std::int64_t>(); }

// MCUs intact never exceed those expected, and neither is negative.
bool CountsAgree(const Json& part) {
  const std::int64_t mcus = Count(part, "mcus");
  const std::int64_t intact = Count(part, "intact");
  return intact >= 0 && intact <= mcus;
}

std::string CheckFault(const Json& object) {
  if (!object.contains("check")) {
    return "no \"check\"";
  }
  const Json& check = object.at("check");
  if (!CountsAgree(check)) {
    return "check: intact outside 0..mcus";
  }
  const Json& faults = check.at("faults");
  const std::int64_t listed = static_cast<std::int64_t>(faults.size());
  if (listed > 100 || Count(check, "fault_count") < listed) {
    return "check: fault_count below the faults listed, or more than 100 listed";
  }
  // A verdict found by decoding has a deciding fault exactly when it is not OK;
  // NOT JPEG and UNSUPPORTED decode nothing and list nothing.
  const std::string verdict = check.at("verdict");
  const bool decoded = verdict != "not-jpeg" && verdict != "unsupported";
  const bool faulty = Count(check, "fault_count") > 0;
  if (check.contains("first") != faulty || faulty != (decoded && verdict != "ok")) {
    return "check: verdict " + verdict + " and faults disagree";
  }
  std::int64_t previous = 0;
  for (const Json& fault : faults) {
    const std::int64_t offset = Count(fault, "offset");
    if (offset < previous || offset > Count(object, "size")) {
      return "check: faults out of file order or past the end";
    }
    previous = offset;
  }
  for (const Json& segment : object.at("segments")) {
    if (segment.contains("entropy") && !CountsAgree(segment.at("entropy"))) {
      return "entropy: intact outside 0..mcus";
    }
  }
  return {};
}

}  // namespace

bool CheckLineIsSound(const std::string& line) {
  if (!JsonLineIsSound(line)) {
    return false;
  }
  const Json object = Json::parse(line);
  if (object.contains("error") || object.contains("interrupted")) {
    return true;
  }
  std::string fault;
  try {
    fault = CheckFault(object);
  } catch (const Json::exception& error) {  // a key missing or of the wrong type
    fault = error.what();
  }
  if (!fault.empty()) {
    std::fprintf(stderr, "check_fuzzer: %s\n", fault.c_str());
  }
  return fault.empty();
}
