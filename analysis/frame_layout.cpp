#include "analysis/frame_layout.h"

#include <algorithm>

#include "analysis/marker_code.h"

namespace vellumark {

namespace {

constexpr int kLargestFactor = 4;
constexpr std::uint8_t kLastTableSlot = 3;
constexpr std::uint8_t kSof1 = marker::kSof0 + 1;
constexpr std::uint8_t kSof2 = marker::kSof0 + 2;

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

bool FactorFits(int factor) { return factor >= 1 && factor <= kLargestFactor; }

bool PrecisionFits(std::uint8_t code, std::int64_t precision) {
  return precision == 8 || (precision == 12 && (code == kSof1 || code == kSof2));
}

bool ComponentsFit(const std::vector<FrameComponent>& components) {
  for (std::size_t i = 0; i < components.size(); ++i) {
    const FrameComponent& c = components[i];
    const auto twice = [&c](const FrameComponent& other) { return other.id == c.id; };
    if (!FactorFits(c.h) || !FactorFits(c.v) || c.tq > kLastTableSlot ||
        std::any_of(components.begin() + static_cast<std::ptrdiff_t>(i) + 1, components.end(), twice)) {
      return false;
    }
  }
  return !components.empty();
}

}  // namespace

bool FrameLayout::Countable() const {
  return width > 0 && height > 0 && !components.empty() &&
         std::all_of(components.begin(), components.end(),
                     [](const FrameComponent& c) { return FactorFits(c.h) && FactorFits(c.v); });
}

std::optional<std::size_t> FrameLayout::Find(std::uint8_t id) const {
  const auto found =
      std::find_if(components.begin(), components.end(), [id](const FrameComponent& c) { return c.id == id; });
  if (found == components.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - components.begin());
}

std::int64_t FrameLayout::BlocksAcross(const FrameComponent& component) const {
  return CeilDiv(CeilDiv(width * component.h, hMax), 8);
}

std::int64_t FrameLayout::BlocksDown(const FrameComponent& component) const {
  return CeilDiv(CeilDiv(height * component.v, vMax), 8);
}

FrameLayout ReadFrameLayout(std::uint8_t code, std::span<const std::uint8_t> payload, bool whole) {
  FrameLayout frame;
  frame.code = code;
  frame.progressive = code == kSof2;
  const FrameFields fields = whole ? ReadFrameFields(payload) : FrameFields{};
  frame.precision = fields.precision.value_or(0);
  frame.height = fields.height.value_or(0);
  frame.width = fields.width.value_or(0);
  frame.components = fields.components.value_or(std::vector<FrameComponent>{});
  for (const FrameComponent& c : frame.components) {
    frame.hMax = std::max<int>(frame.hMax, c.h);
    frame.vMax = std::max<int>(frame.vMax, c.v);
  }
  frame.valid = fields.whole && PrecisionFits(code, frame.precision) && frame.width > 0 &&
                ComponentsFit(frame.components);
  return frame;
}

McuGrid ScanMcuGrid(const FrameLayout& frame, std::span<const std::size_t> components) {
  if (!frame.Countable() || components.empty()) {
    return {};
  }
  if (components.size() == 1) {
    const FrameComponent& only = frame.components[components.front()];
    return McuGrid{frame.BlocksAcross(only), frame.BlocksDown(only)};
  }
  return McuGrid{CeilDiv(frame.width, 8 * frame.hMax), CeilDiv(frame.height, 8 * frame.vMax)};
}

}  // namespace vellumark
