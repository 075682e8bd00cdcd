#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/check_faults.h"

namespace vellumark {

// The faults of one file as they are found, in the order of the file: the
// first ones kept, all counted, and the first of each class remembered for
// the verdict.
class FaultLog {
public:
  FaultLog(std::size_t held, std::int64_t fileSize) : held_(held), fileSize_(fileSize) {}

  void Add(const CheckFault& fault);

  std::int64_t Count() const { return count_; }
  const std::vector<CheckFault>& Held() const { return faults_; }
  // Damaged, Truncated, Warning or Ok, with the fault that decides it.
  Verdict Decide(std::optional<CheckFault>& deciding) const;

private:
  std::size_t held_;
  std::int64_t fileSize_;
  std::vector<CheckFault> faults_;
  std::int64_t count_ = 0;
  std::array<std::optional<CheckFault>, 3> firstOfClass_;
};

}  // namespace vellumark
