#include "analysis/coefficient_history.h"

#include <algorithm>
#include <bit>

namespace vellumark {

CoefficientHistory::CoefficientHistory(std::int64_t blocks)
    : pages_(static_cast<std::size_t>((blocks + kPageMask) >> kPageBits)) {}

void CoefficientHistory::Set(std::int64_t block, std::uint64_t mask) {
  auto& page = pages_[static_cast<std::size_t>(block >> kPageBits)];
  if (!page) {
    if (mask == 0) {
      return;
    }
    page = std::make_unique<Page>();
  }
  const auto index = static_cast<std::size_t>(block & kPageMask);
  page->masks[index] = mask;
  if (mask != 0) {
    page->groups |= std::uint64_t{1} << (index >> kGroupBits);
  }
}

std::int64_t CoefficientHistory::NextWith(std::int64_t from, std::int64_t to, std::uint64_t band) const {
  constexpr std::int64_t kGroupSize = std::int64_t{1} << kGroupBits;
  std::int64_t block = from;
  while (block < to) {
    const auto& page = pages_[static_cast<std::size_t>(block >> kPageBits)];
    const std::int64_t pageStart = block & ~kPageMask;
    if (!page) {
      block = pageStart + kPageMask + 1;
      continue;
    }
    const int group = static_cast<int>((block & kPageMask) >> kGroupBits);
    const std::uint64_t later = page->groups >> group;
    if (later == 0) {
      block = pageStart + kPageMask + 1;
      continue;
    }
    const int next = group + std::countr_zero(later);
    block = std::max(block, pageStart + next * kGroupSize);
    const std::int64_t groupEnd = std::min(to, pageStart + (next + 1) * kGroupSize);
    for (; block < groupEnd; ++block) {
      if ((page->masks[static_cast<std::size_t>(block & kPageMask)] & band) != 0) {
        return block;
      }
    }
  }
  return to;
}

}  // namespace vellumark
