#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "analysis/frame_layout.h"
#include "analysis/segment_fields.h"

namespace vellumark {

inline constexpr int kLastCoefficient = 63;

// A scan header's fields, with its components found in the frame.
struct ScanHeader {
  ScanFields fields;
  std::vector<std::size_t> components;  // frame indices, as many as were found
  int ss = 0;
  int se = 0;
  int ah = 0;
  int al = 0;

  // Whether every component it names is in the frame.
  bool AllFound() const { return fields.components && components.size() == fields.components->size(); }
};

// payload: the SOS segment's, where it is whole; empty otherwise.
ScanHeader ReadScanHeader(const FrameLayout& frame, std::span<const std::uint8_t> payload);

// A header no scan can be decoded by: malformed, components missing, named
// twice or too many, or progressive parameters out of range.
bool IsBadScan(const FrameLayout& frame, const ScanHeader& header);

// A sequential scan with the parameters of a progressive one, which libjpeg
// warns about and decodes as a whole scan.
bool HasProgressiveParameters(const ScanHeader& header);

}  // namespace vellumark
