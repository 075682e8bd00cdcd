#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/segment_fields.h"

namespace vellumark {

// A frame header as the decoder sees it.
struct FrameLayout {
  std::uint8_t code = 0;
  std::int64_t precision = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::vector<FrameComponent> components;
  int hMax = 0;
  int vMax = 0;
  bool valid = false;  // fit to decode: no bad-frame
  bool progressive = false;

  // Whether every sampling factor is one MCUs can be counted with.
  bool Countable() const;
  // The index of the component with this id, if any.
  std::optional<std::size_t> Find(std::uint8_t id) const;
  // The blocks of a component across and down, as a scan of it alone codes them.
  std::int64_t BlocksAcross(const FrameComponent& component) const;
  std::int64_t BlocksDown(const FrameComponent& component) const;
};

FrameLayout ReadFrameLayout(std::uint8_t code, std::span<const std::uint8_t> payload, bool whole);

// The MCUs across and down of a scan of these frame components; none where
// the frame does not allow counting them.
struct McuGrid {
  std::int64_t columns = 0;
  std::int64_t rows = 0;
  std::int64_t Count() const { return columns * rows; }
};
McuGrid ScanMcuGrid(const FrameLayout& frame, std::span<const std::size_t> components);

}  // namespace vellumark
