// Every prefix and a set of single-byte changes of a real encoder's file with a
// thumbnail, through the thumbnail search (and, for the changes, the report): a
// file in memory never fails, so any fault is a read outside it; the sanitizer
// build catches reads outside a buffer.

#include <gtest/gtest.h>

#include <string>

#include "analysis/thumbnail_search.h"
#include "platform/binary_file.h"
#include "platform/memory_byte_source.h"
#include "tests/hostile/thumbnail_file.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::AnalyseBytes;
using testing::Bytes;
using testing::kTwoPixels;
using testing::RealFileWithThumbnail;

ThumbnailAnswer Search(const Bytes& bytes) {
  BinaryFile file(std::make_unique<MemoryByteSource>(bytes));
  ThumbnailAnswer answer;
  FindJfifThumbnail(file, answer);
  return answer;
}

// SOI, the APP0 marker, then its 22 bytes: the thumbnail is whole.
constexpr std::size_t kApp0End = 2 + 2 + 22;

TEST(ThumbnailDamageTest, EveryPrefixFindsWhatItHolds) {
  const Bytes whole = RealFileWithThumbnail();
  for (std::size_t size = 0; size <= whole.size(); ++size) {
    SCOPED_TRACE("prefix of " + std::to_string(size) + " bytes");
    const ThumbnailAnswer answer = Search(Bytes(whole.begin(), whole.begin() + size));
    // Files of 20 bytes or fewer are not searched at all; from 21 bytes on the
    // identifier is whole, and the segment cut by the end of the file counts.
    ASSERT_EQ(answer.found, size > 20);
    ASSERT_EQ(answer.picture.has_value(), size >= kApp0End);
    if (answer.picture) {
      ASSERT_EQ(answer.picture->rgb, kTwoPixels);
    }
  }
}

// Four values per offset stand for the rest: 0 (a length's zero byte, a
// cleared flag), FF (a marker prefix or fill), EOI, and the original with its
// top bit flipped (lengths grow or shrink by 32 KiB).
TEST(ThumbnailDamageTest, EverySingleByteChangeEndsCleanly) {
  const Bytes original = RealFileWithThumbnail();
  Bytes file = original;
  for (std::size_t offset = 0; offset < file.size(); ++offset) {
    for (const int value : {0x00, 0xFF, 0xD9, original[offset] ^ 0x80}) {
      SCOPED_TRACE("offset " + std::to_string(offset) + " value " + std::to_string(value));
      file[offset] = static_cast<std::uint8_t>(value);
      const ThumbnailAnswer answer = Search(file);
      if (answer.picture) {
        ASSERT_TRUE(answer.found);
        ASSERT_EQ(answer.picture->rgb.size(),
                  static_cast<std::size_t>(answer.picture->width * answer.picture->height * 3));
      }
      const auto [report, fault] = AnalyseBytes(file, offset % 2 == 0);
      ASSERT_FALSE(fault) << fault->error.Description();
      ASSERT_TRUE(report.ends_with("\r\n"));
    }
    file[offset] = original[offset];
  }
}

}  // namespace
}  // namespace vellumark
