// The thumbnail search over a file held in memory. A memory file never fails,
// so any RuntimeError here is a read outside the file; it is left uncaught for
// libFuzzer to report.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "analysis/thumbnail_search.h"
#include "platform/binary_file.h"
#include "platform/memory_byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vellumark::BinaryFile file(
      std::make_unique<vellumark::MemoryByteSource>(std::vector<std::uint8_t>(data, data + size)));
  vellumark::ThumbnailAnswer answer;
  vellumark::FindJfifThumbnail(file, answer);
  // Pixels come only with a found segment, and exactly as many as the size
  // bytes say: anything else would show a picture made of other bytes.
  if (answer.picture) {
    const auto& picture = *answer.picture;
    const auto expected = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3;
    if (!answer.found || expected == 0 || picture.rgb.size() != expected) {
      std::abort();
    }
  }
  return 0;
}
