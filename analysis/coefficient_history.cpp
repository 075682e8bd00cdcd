#include "analysis/coefficient_history.h"

#include <algorithm>
#include <bit>

namespace vellumark {

CoefficientHistory::CoefficientHistory(std::int64_t blocks)
    : pages_(static_cast<std::size_t>((blocks + kPageMask) >> kPageBits)), present_((pages_.size() + 63) / 64) {}

void CoefficientHistory::Set(std::int64_t block, std::uint64_t mask) {
  auto& page = pages_[static_cast<std::size_t>(block >> kPageBits)];
  if (!page) {
    if (mask == 0) {
      return;
    }
    page = std::make_unique<Page>();
    const auto number = static_cast<std::size_t>(block >> kPageBits);
    present_[number / 64] |= std::uint64_t{1} << (number % 64);
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
    // Runs of pages that nothing set are passed 64 at a time.
    const std::size_t number = NextPage(static_cast<std::size_t>(block >> kPageBits));
    if (number == pages_.size()) {
      return to;
    }
    const auto& page = pages_[number];
    const std::int64_t pageStart = static_cast<std::int64_t>(number) << kPageBits;
    block = std::max(block, pageStart);
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

std::size_t CoefficientHistory::NextPage(std::size_t page) const {
  for (std::size_t word = page / 64; word < present_.size(); ++word) {
    std::uint64_t bits = present_[word];
    if (word == page / 64) {
      bits &= ~std::uint64_t{0} << (page % 64);
    }
    if (bits != 0) {
      return word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
    }
  }
  return pages_.size();
}

}  // namespace vellumark
