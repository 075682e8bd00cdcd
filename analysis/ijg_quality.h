#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "analysis/jpeg_tables.h"

namespace vellumark {

// A quantisation table's 64 values in natural (row-major) order.
using QuantisationValues = std::array<std::uint16_t, kQuantisationValues>;

// The quality setting of the IJG encoder (libjpeg's cjpeg -quality) that writes
// exactly this table: the largest q in 1-100 whose scaling of the standard
// luminance or chrominance table (ITU-T T.81, K.1 and K.2) gives it, capped at
// 32767 or, as with -baseline, at 255. nullopt for any other table.
std::optional<int> IjgQuality(const QuantisationValues& values);

}  // namespace vellumark
