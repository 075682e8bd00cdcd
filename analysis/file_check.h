#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/check_faults.h"
#include "analysis/structure_walk.h"
#include "platform/binary_file.h"

namespace vellumark {

// The check's answer for one file.
struct CheckSummary {
  Verdict verdict = Verdict::Ok;
  std::string_view reason;          // why a file is unsupported
  std::optional<CheckFault> first;  // the fault that decides the verdict
  std::vector<CheckFault> faults;   // the first kHeldFaults, in the order of the file
  std::int64_t faultCount = 0;
  std::int64_t mcus = 0;    // expected, over the scans present
  std::int64_t intact = 0;  // decoded without fault
};

inline constexpr std::size_t kHeldFaults = 100;

// Hears the walk of a file and decodes each scan's data as it comes, so that
// a listener after it learns each scan's counts in time (LastScan).
class PictureCheck : public StructureListener {
public:
  // unsupported: what FindUnsupported answered for the same file.
  PictureCheck(BinaryFile& file, std::optional<std::string_view> unsupported,
               const std::atomic<bool>* interrupt = nullptr);
  ~PictureCheck() override;
  PictureCheck(const PictureCheck&) = delete;
  PictureCheck& operator=(const PictureCheck&) = delete;

  void Begin(std::int64_t size, bool jpeg) override;
  void Segment(const StructureSegment& segment) override;
  void EntropyData(std::int64_t offset, std::int64_t length, std::int64_t restarts) override;
  void Problem(const StructureProblem& problem) override;

  struct ScanCounts {
    std::int64_t mcus = 0;
    std::int64_t intact = 0;
  };
  // The counts of the scan whose data the walk told last.
  ScanCounts LastScan() const;

  // After the walk: the faults of the file's end and the verdict.
  [[nodiscard]] CheckSummary Finish();

private:
  class State;
  std::unique_ptr<State> state_;
};

// Why the file's pictures cannot be decoded ("hierarchical", "lossless",
// "arithmetic coding", "height 0"), from a walk of its markers; nullopt
// where they can. interrupted tells whether *interrupt stopped the walk.
std::optional<std::string_view> FindUnsupported(BinaryFile& file, bool& interrupted,
                                                const std::atomic<bool>* interrupt = nullptr);

// The summary of a picture inside another file, its offsets moved by `by`
// from the picture's first byte to the file's.
void MoveOffsets(CheckSummary& summary, std::int64_t by);

// The whole check of file: what cannot be decoded, then the decoding walk,
// which alsoTell hears too where given. nullopt where *interrupt stopped it.
std::optional<CheckSummary> CheckPictures(BinaryFile& file, const std::atomic<bool>* interrupt = nullptr,
                                          StructureListener* alsoTell = nullptr);

}  // namespace vellumark
