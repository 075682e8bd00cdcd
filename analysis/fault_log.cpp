#include "analysis/fault_log.h"

namespace vellumark {

void FaultLog::Add(const CheckFault& fault) {
  ++count_;
  if (faults_.size() < held_) {
    faults_.push_back(fault);
  }
  auto& first = firstOfClass_[static_cast<std::size_t>(ClassOf(fault, fileSize_))];
  if (!first) {
    first = fault;
  }
}

Verdict FaultLog::Decide(std::optional<CheckFault>& deciding) const {
  constexpr std::array<std::pair<FaultClass, Verdict>, 3> kWorstFirst{{{FaultClass::Damage, Verdict::Damaged},
                                                                       {FaultClass::Truncation, Verdict::Truncated},
                                                                       {FaultClass::Warning, Verdict::Warning}}};
  for (const auto& [faultClass, verdict] : kWorstFirst) {
    if (const auto& first = firstOfClass_[static_cast<std::size_t>(faultClass)]) {
      deciding = first;
      return verdict;
    }
  }
  return Verdict::Ok;
}

}  // namespace vellumark
