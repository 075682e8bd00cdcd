#pragma once

#include <string>

#include "tests/support/files.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// The bytes of a real encoder's file from tests/golden.
inline Bytes GoldenFile(const std::string& name) {
  const std::string bytes = ReadWholeFile(std::string(VELLUMARK_GOLDEN_DIR) + "/" + name);
  return Bytes(bytes.begin(), bytes.end());
}

}  // namespace vellumark::testing
