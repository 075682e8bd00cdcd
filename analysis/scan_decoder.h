#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/check_faults.h"
#include "analysis/coefficient_history.h"
#include "analysis/entropy_reader.h"
#include "analysis/huffman_lookup.h"

namespace vellumark {

// What decoding one scan needs, worked out from the frame, the scan header and
// the tables in force.
struct ScanPlan {
  enum class Mode { Sequential, DcFirst, DcRefine, AcFirst, AcRefine };

  struct Component {
    const HuffmanLookup* dc = nullptr;
    const HuffmanLookup* ac = nullptr;
    int blocksAcross = 1;  // in one MCU
    int blocksDown = 1;
    CoefficientHistory* history = nullptr;  // progressive AC scans only
  };

  Mode mode = Mode::Sequential;
  std::vector<Component> components;
  int ss = 0;
  int se = 63;
  int maxDcCategory = 11;  // 15 at 12-bit precision
  int maxAcSize = 10;      // 14 at 12-bit precision
  std::int64_t mcuColumns = 0;
  std::int64_t mcuRows = 0;
  std::int64_t restartInterval = 0;  // 0: none
  // MCU (C, R) begins at pixel (C * mcuWidth / widthDivisor, R * mcuHeight / heightDivisor).
  std::int64_t mcuWidth = 8;
  std::int64_t mcuHeight = 8;
  std::int64_t widthDivisor = 1;
  std::int64_t heightDivisor = 1;
  std::int64_t scan = 0;

  std::int64_t Mcus() const { return mcuColumns * mcuRows; }
  McuPosition Position(std::int64_t mcu) const;
};

using FaultSink = std::function<void(const CheckFault&)>;

// Decodes one scan's data, from start to the reader's end, as far as faults
// allow: after a fault in an interval the data goes on after the next restart
// marker, if any. Faults go to sink in the order of the file. Returns the MCUs
// decoded without fault.
std::int64_t DecodeScan(EntropyReader& reader, std::int64_t start, const ScanPlan& plan, const FaultSink& sink);

}  // namespace vellumark
