#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vellumark {

// Which AC coefficients of each block of one component a progressive file has
// made nonzero so far: all a refinement scan needs to know to find its bits.
// One 64-bit mask a block, kept in pages that exist only once a block in them
// has a nonzero coefficient, so that a huge frame costs memory only where
// its data set something, and runs of untouched blocks are passed at once.
class CoefficientHistory {
public:
  explicit CoefficientHistory(std::int64_t blocks);

  std::uint64_t Get(std::int64_t block) const {
    const auto& page = pages_[static_cast<std::size_t>(block >> kPageBits)];
    return page ? page->masks[static_cast<std::size_t>(block & kPageMask)] : 0;
  }
  void Set(std::int64_t block, std::uint64_t mask);

  // The first block in [from, to) whose mask shares a bit with band; to where none does.
  std::int64_t NextWith(std::int64_t from, std::int64_t to, std::uint64_t band) const;

private:
  static constexpr int kPageBits = 12;
  static constexpr std::int64_t kPageMask = (std::int64_t{1} << kPageBits) - 1;
  static constexpr int kGroupBits = 6;  // a page's 4096 blocks in 64 groups of 64

  struct Page {
    std::array<std::uint64_t, std::size_t{1} << kPageBits> masks{};
    std::uint64_t groups = 0;  // bit g: some block of group g has a nonzero mask
  };
  // The page after or at page that exists; pages_.size() where none does.
  std::size_t NextPage(std::size_t page) const;

  std::vector<std::unique_ptr<Page>> pages_;
  std::vector<std::uint64_t> present_;  // bit p: page p exists
};

}  // namespace vellumark
