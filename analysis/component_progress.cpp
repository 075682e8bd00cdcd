#include "analysis/component_progress.h"

#include <algorithm>

namespace vellumark {

bool ComponentProgress::Complete(bool progressive) const {
  return progressive ? std::all_of(lastAl.begin(), lastAl.end(), [](int al) { return al == 0; }) : coded;
}

bool FollowsProgression(const std::vector<ComponentProgress>& progress, const ScanHeader& header) {
  for (const std::size_t index : header.components) {
    const auto& lastAl = progress[index].lastAl;
    if (header.ss > 0 && lastAl[0] == ComponentProgress::kNotCoded) {
      return false;
    }
    for (int k = header.ss; k <= header.se; ++k) {
      const int last = lastAl[static_cast<std::size_t>(k)];
      if (header.ah == 0 ? last != ComponentProgress::kNotCoded : last != header.ah) {
        return false;
      }
    }
  }
  return true;
}

void RecordScan(std::vector<ComponentProgress>& progress, const ScanHeader& header, bool progressive) {
  for (const std::size_t index : header.components) {
    ComponentProgress& component = progress[index];
    component.coded = true;
    if (progressive) {
      std::fill(component.lastAl.begin() + header.ss, component.lastAl.begin() + header.se + 1, header.al);
    }
  }
}

}  // namespace vellumark
