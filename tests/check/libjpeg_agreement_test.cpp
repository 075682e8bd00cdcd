// --check next to libjpeg-turbo on what its own encoder writes: the calls
// cjpeg makes for -progressive, -restart, -optimize, -grayscale, -sample and
// -quality, on a small photo-like picture made here. libjpeg-turbo decodes
// each file to coefficients (as jpegtran does) and is the judge of which
// damaged copies are damaged.

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/support/crafted_picture.h"

namespace vellumark {
namespace {

using testing::Bytes;
using testing::CheckBytes;

struct Kind {
  const char* name;
  int width = 64;
  int height = 48;
  int lumaH = 2;  // 4:2:0 unless told
  int lumaV = 2;
  bool grey = false;
  bool progressive = false;
  bool optimize = false;
  int restartRows = 0;
  int restartMcus = 0;
  int quality = 85;
};

const Kind kKinds[] = {
    {.name = "Baseline420"},
    {.name = "Baseline422", .lumaH = 2, .lumaV = 1},
    {.name = "Baseline444", .lumaH = 1, .lumaV = 1},
    {.name = "Grey", .grey = true},
    {.name = "Optimised", .optimize = true},
    {.name = "RestartEachRow", .restartRows = 1},
    {.name = "RestartEvery3Mcus", .lumaH = 1, .lumaV = 1, .restartMcus = 3},
    {.name = "Quality100", .quality = 100},
    {.name = "Quality5", .quality = 5},
    {.name = "Odd17x9", .width = 17, .height = 9},
    {.name = "OnePixel", .width = 1, .height = 1},
    {.name = "Progressive420", .progressive = true},
    {.name = "ProgressiveGrey", .grey = true, .progressive = true},
    {.name = "ProgressiveRestarts", .lumaH = 2, .lumaV = 1, .progressive = true, .restartMcus = 2},
    {.name = "ProgressiveOdd17x9Q100", .width = 17, .height = 9, .progressive = true, .quality = 100},
};

// A gradient with noise: enough detail for long AC runs and every code length.
std::vector<JSAMPLE> Photo(int width, int height) {
  std::vector<JSAMPLE> rgb;
  std::uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245U + 12345U;
      const int noise = static_cast<int>((seed >> 16) % 48) - 24;
      const int base[3] = {x * 255 / width, y * 255 / height, (x + y) * 127 / (width + height) + 64};
      for (const int channel : base) {
        rgb.push_back(static_cast<JSAMPLE>(std::clamp(channel + noise, 0, 255)));
      }
    }
  }
  return rgb;
}

Bytes Encode(const Kind& kind) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(kind.width);
  cinfo.image_height = static_cast<JDIMENSION>(kind.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, kind.quality, TRUE);
  if (kind.grey) {
    jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
  } else {
    cinfo.comp_info[0].h_samp_factor = kind.lumaH;
    cinfo.comp_info[0].v_samp_factor = kind.lumaV;
  }
  cinfo.optimize_coding = kind.optimize ? TRUE : FALSE;
  cinfo.restart_in_rows = kind.restartRows;
  cinfo.restart_interval = static_cast<unsigned>(kind.restartMcus);
  if (kind.progressive) {
    jpeg_simple_progression(&cinfo);
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> rgb = Photo(kind.width, kind.height);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = &rgb[static_cast<std::size_t>(cinfo.next_scanline) * 3 * static_cast<std::size_t>(kind.width)];
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes file(out, out + size);
  std::free(out);
  return file;
}

enum class Libjpeg { Clean, Warns, Fails };

struct Oracle {
  jpeg_error_mgr errors;
  std::jmp_buf jump;
  int warnings;
};

[[noreturn]] void Fail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<Oracle*>(cinfo->err)->jump, 1); }

// Level -1 is a warning; higher levels are trace messages.
void Count(j_common_ptr cinfo, int level) {
  if (level < 0) {
    ++reinterpret_cast<Oracle*>(cinfo->err)->warnings;
  }
}

// No C++ objects live in this frame across the longjmp.
Libjpeg Decode(const Bytes& file) {
  jpeg_decompress_struct cinfo{};
  Oracle oracle{};
  cinfo.err = jpeg_std_error(&oracle.errors);
  oracle.errors.error_exit = Fail;
  oracle.errors.emit_message = Count;
  if (setjmp(oracle.jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    return Libjpeg::Fails;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&cinfo, TRUE);
  jpeg_read_coefficients(&cinfo);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return oracle.warnings == 0 ? Libjpeg::Clean : Libjpeg::Warns;
}

struct Span {
  std::size_t begin;
  std::size_t end;
};

// The entropy-coded bytes after each SOS, restart markers included.
std::vector<Span> EntropySpans(const Bytes& file) {
  std::vector<Span> spans;
  std::size_t i = 2;
  while (i + 3 < file.size() && file[i + 1] != 0xD9) {
    const std::size_t segmentEnd = i + 2 + (file[i + 2] << 8 | file[i + 3]);
    if (file[i + 1] != 0xDA) {
      i = segmentEnd;
      continue;
    }
    std::size_t end = segmentEnd;
    while (end + 1 < file.size() &&
           !(file[end] == 0xFF && file[end + 1] != 0x00 && (file[end + 1] < 0xD0 || file[end + 1] > 0xD7))) {
      ++end;
    }
    spans.push_back({segmentEnd, end});
    i = end;
  }
  return spans;
}

std::string Describe(const CheckSummary& summary) {
  return std::string(VerdictName(summary.verdict)) +
         (summary.first ? " " + std::string(FaultKindName(summary.first->kind)) + " at " + std::to_string(summary.first->offset) : "");
}

void PrintTo(const Kind& kind, std::ostream* out) { *out << kind.name; }

class LibjpegAgreementTest : public ::testing::TestWithParam<Kind> {
protected:
  const Bytes file_ = Encode(GetParam());
};

TEST_P(LibjpegAgreementTest, EncoderOutputIsOk) {
  ASSERT_EQ(Decode(file_), Libjpeg::Clean);
  const CheckSummary summary = CheckBytes(file_);
  EXPECT_EQ(summary.verdict, Verdict::Ok) << Describe(summary);
  EXPECT_EQ(summary.intact, summary.mcus);
  EXPECT_GT(summary.mcus, 0);
}

// Every entropy-coded byte, in file order.
std::vector<std::size_t> EntropyBytes(const Bytes& file) {
  std::vector<std::size_t> bytes;
  for (const Span& span : EntropySpans(file)) {
    for (std::size_t at = span.begin; at < span.end; ++at) {
      bytes.push_back(at);
    }
  }
  return bytes;
}

// One direction only: a flip libjpeg lets pass may still be found here, as
// the check is knowingly stricter (a run past coefficient 63, a DC category or
// AC size out of range, a few extra bytes its read-ahead hides, a bad code its
// fast path reads as 0).
TEST_P(LibjpegAgreementTest, FlipsLibjpegNoticesAreNotOk) {
  constexpr std::size_t kFlips = 48;
  const std::vector<std::size_t> bytes = EntropyBytes(file_);
  int noticed = 0;
  int stricter = 0;
  for (std::size_t i = 0; i < kFlips; ++i) {
    const std::size_t at = bytes[i * bytes.size() / kFlips];
    const int bit = static_cast<int>(i * 5 % 8);
    Bytes flipped = file_;
    flipped[at] ^= static_cast<std::uint8_t>(0x80 >> bit);
    const bool found = CheckBytes(flipped).verdict != Verdict::Ok;
    if (Decode(flipped) == Libjpeg::Clean) {
      stricter += found ? 1 : 0;
      continue;
    }
    ++noticed;
    EXPECT_TRUE(found) << "byte " << at << " bit " << bit << ": " << Describe(CheckBytes(flipped));
  }
  RecordProperty("libjpeg_noticed", noticed);
  RecordProperty("found_only_here", stricter);
  EXPECT_GT(noticed + stricter, 0);
}

// libjpeg warns of every cut. Here each is truncated, except where the data
// is whole and only EOI (or its D9, leaving a lone FF that is no data) is gone.
TEST_P(LibjpegAgreementTest, CutsLibjpegNoticesAreTruncated) {
  constexpr std::size_t kCuts = 24;
  const std::size_t first = EntropySpans(file_).front().begin;
  for (std::size_t i = 0; i <= kCuts; ++i) {
    const std::size_t size = first + (file_.size() - 1 - first) * i / kCuts;
    const Bytes cut(file_.begin(), file_.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_NE(Decode(cut), Libjpeg::Clean) << size;
    const CheckSummary summary = CheckBytes(cut);
    EXPECT_EQ(summary.verdict, size + 2 >= file_.size() ? Verdict::Warning : Verdict::Truncated) << size << ": " << Describe(summary);
    EXPECT_LE(summary.intact, summary.mcus) << size;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, LibjpegAgreementTest, ::testing::ValuesIn(kKinds),
                         testing::kCaseName);

// Every length from the first scan's data to just before EOI. Whole codes
// decode, so the bits a cut leaves begin a code: the file is truncated,
// never damaged, until only EOI is missing.
TEST(ProgressiveCutTest, EveryLengthIsTruncated) {
  const Bytes file = Encode({.name = "", .progressive = true});
  const std::size_t first = EntropySpans(file).front().begin;
  std::int64_t previousMcus = 0;
  for (std::size_t size = first; size + 2 <= file.size(); ++size) {
    const CheckSummary summary = CheckBytes(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
    const bool onlyEoiMissing = size + 2 == file.size();
    ASSERT_EQ(summary.verdict, onlyEoiMissing ? Verdict::Warning : Verdict::Truncated) << size << ": " << Describe(summary);
    ASSERT_LE(summary.intact, summary.mcus) << size;
    ASSERT_GE(summary.mcus, previousMcus) << size;  // scans come into view, never leave it
    previousMcus = summary.mcus;
  }
}

}  // namespace
}  // namespace vellumark
