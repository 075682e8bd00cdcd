#include "analysis/ijg_quality.h"

#include <algorithm>

namespace vellumark {

namespace {

constexpr QuantisationValues kStandardLuminance = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

constexpr QuantisationValues kStandardChrominance = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Tried value by value, so a table that is not this one is given up at its
// first difference, mostly its first value.
bool IsScaledStandard(const QuantisationValues& values, const QuantisationValues& standard, int scale,
                      int cap) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const int scaled = std::clamp((standard[i] * scale + 50) / 100, 1, cap);
    if (scaled != values[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<int> IjgQuality(const QuantisationValues& values) {
  for (int quality = 100; quality >= 1; --quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    for (const QuantisationValues* standard : {&kStandardLuminance, &kStandardChrominance}) {
      for (const int cap : {32767, 255}) {
        if (IsScaledStandard(values, *standard, scale, cap)) {
          return quality;
        }
      }
    }
  }
  return std::nullopt;
}

}  // namespace vellumark
