// Positions past 2 GiB and 4 GiB: the report must show the true 64-bit figures,
// and the thumbnail search must find what lies there.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "analysis/file_analysis.h"
#include "analysis/segment_walker.h"
#include "platform/binary_file.h"
#include "platform/local_file_system.h"
#include "tests/hostile/huge_source.h"
#include "tests/hostile/thumbnail_file.h"
#include "tests/support/files.h"
#include "tests/support/report.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::HugeByteSource;
using testing::JfifPayload;
using testing::JpegBuilder;
using testing::kTwoPixels;
using testing::Lines;
using testing::TempDir;

// What stands at offset 4294967296 (100000000h).
Bytes Tail() {
  return JpegBuilder()
      .Segment(marker::kApp0, JfifPayload(2, 1, kTwoPixels))  // FF E0 00 16: APP0 length 22 with a thumbnail
      .Marker(marker::kEoi)                                  // FF D9: EOI at 100000018h
      .MarkerWithLength(marker::kCom, 0xFFFF)                // FF FE FF FF: COM length 65535 at 10000001Ah,
      .Text("abc")                                   // but only 3 bytes remain
      .Build();
}

BinaryFile HugeFile() { return BinaryFile(std::make_unique<HugeByteSource>(Tail())); }

TEST(LargeOffsetTest, ReportShowsPositionsPast2And4GiB) {
  BinaryFile file = HugeFile();
  StringReportSink sink;
  WalkSegments(file, sink, [] { return false; });
  const std::string& report = sink.Text();
  // The last segment before 2 GiB and the first after it.
  EXPECT_NE(report.find(Lines({"位置:2147450881(7FFF8000h)", "标记:COM", "长度:65535(FFFFh)"})),
            std::string::npos);
  EXPECT_NE(report.find(Lines({"位置:2147516418(80008001h)", "标记:COM", "长度:65535(FFFFh)"})),
            std::string::npos);
  // The last long segment, then the tail; the COM length is cut to the 5 bytes
  // that remain, and the walk ends at the end of the file.
  EXPECT_TRUE(report.ends_with(Lines({
      "位置:4294901760(FFFEFFFFh)", "标记:COM", "长度:65535(FFFFh)", "", "",
      "位置:4294967297(100000000h)", "标记:APP0", "长度:22(16h)", "", "",
      "位置:4294967321(100000018h)", "标记:EOI", "",
      "位置:4294967323(10000001Ah)", "标记:COM", "长度:65535(FFFFh)", "", "",
  })));
}

TEST(LargeOffsetTest, ThumbnailSearchFindsASegmentPast4GiB) {
  BinaryFile file = HugeFile();
  ThumbnailAnswer answer;
  FindJfifThumbnail(file, answer);
  EXPECT_TRUE(answer.found);
  ASSERT_TRUE(answer.picture);
  EXPECT_EQ(answer.picture->width, 2);
  EXPECT_EQ(answer.picture->rgb, kTwoPixels);
}

// A sparse file on disk, through the real file access: its size and reads at
// offsets that do not fit in 32 bits, and one read across the 2 GiB line.
TEST(LargeOffsetTest, SparseFilePast4GiBReadsTheTrueBytes) {
  TempDir dir;
  const std::string path = dir / "sparse.jpg";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  constexpr off_t kSize = (off_t{1} << 32) + 16;
  const bool made = ::ftruncate(fd, kSize) == 0 &&
                    ::pwrite(fd, "\xFF\xD9", 2, (off_t{1} << 31) - 1) == 2 &&
                    ::pwrite(fd, "\xFF\xE0\x00\x10", 4, off_t{1} << 32) == 4;
  ::close(fd);
  if (!made) {
    GTEST_SKIP() << "the temporary file system refuses a sparse file of 4 GiB";
  }
  LocalFileSystem files;
  BinaryFile file(files.OpenRead(path));
  EXPECT_EQ(file.Length(), kSize);
  file.SetSeek(std::int64_t{1} << 31);  // the byte before the 2 GiB line
  EXPECT_EQ(file.ReadBytes(3), (Bytes{marker::kPrefix, marker::kEoi, 0x00}));
  file.SetSeek((std::int64_t{1} << 32) + 1);
  EXPECT_EQ(file.ReadBytes(4), (Bytes{marker::kPrefix, marker::kApp0, 0x00, 0x10}));
  EXPECT_EQ(file.Remaining(), 12);
}

}  // namespace
}  // namespace vellumark
