#include "analysis/scan_header.h"

#include <algorithm>

namespace vellumark {

namespace {

constexpr std::size_t kMostScanComponents = 4;
constexpr int kMostBlocksInMcu = 10;
constexpr int kLargestAl = 13;

bool NamesAComponentTwice(const ScanHeader& header) {
  const auto& c = header.components;
  return std::any_of(c.begin(), c.end(), [&c](std::size_t index) { return std::count(c.begin(), c.end(), index) > 1; });
}

int BlocksInMcu(const FrameLayout& frame, const ScanHeader& header) {
  int blocks = 0;
  for (const std::size_t index : header.components) {
    blocks += frame.components[index].h * frame.components[index].v;
  }
  return blocks;
}

bool ProgressiveParametersFit(const ScanHeader& header) {
  const int ss = header.ss;
  const int se = header.se;
  return !(se < ss || se > kLastCoefficient || (ss == 0 && se != 0) || (ss > 0 && header.components.size() > 1) ||
           header.al > kLargestAl || (header.ah != 0 && header.ah != header.al + 1));
}

}  // namespace

ScanHeader ReadScanHeader(const FrameLayout& frame, std::span<const std::uint8_t> payload) {
  ScanHeader header;
  header.fields = payload.empty() ? ScanFields{} : ReadScanFields(payload);
  for (const ScanComponent& c : header.fields.components.value_or(std::vector<ScanComponent>{})) {
    if (const auto index = frame.Find(c.id)) {
      header.components.push_back(*index);
    }
  }
  header.ss = header.fields.ss.value_or(0);
  header.se = header.fields.se.value_or(0);
  header.ah = header.fields.ah.value_or(0);
  header.al = header.fields.al.value_or(0);
  return header;
}

bool IsBadScan(const FrameLayout& frame, const ScanHeader& header) {
  const std::size_t count = header.components.size();
  if (!header.fields.whole || count == 0 || count > kMostScanComponents || !header.AllFound() ||
      NamesAComponentTwice(header)) {
    return true;
  }
  if (count > 1 && BlocksInMcu(frame, header) > kMostBlocksInMcu) {
    return true;
  }
  return frame.progressive && !ProgressiveParametersFit(header);
}

bool HasProgressiveParameters(const ScanHeader& header) {
  return header.ss != 0 || header.se != kLastCoefficient || header.ah != 0 || header.al != 0;
}

}  // namespace vellumark
