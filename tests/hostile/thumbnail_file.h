#pragma once

#include "tests/support/golden.h"
#include "tests/support/jpeg_builder.h"

namespace vellumark::testing {

// 2 x 1 thumbnail pixels: red, then blue.
inline const Bytes kTwoPixels{0xFF, 0, 0, 0, 0, 0xFF};

// A real encoder's file whose APP0 carries a 2 x 1 thumbnail, so the search has
// something to find and to lose.
inline Bytes RealFileWithThumbnail() {
  const Bytes baseline = GoldenFile("baseline.jpg");
  return JpegBuilder()
      .Marker(marker::kSoi)                                  // FF D8 SOI
      .Segment(marker::kApp0, JfifPayload(2, 1, kTwoPixels))  // FF E0 00 16: APP0 length 22
      .Raw(Bytes(baseline.begin() + 20, baseline.end()))  // cjpeg's file after its SOI and APP0
      .Build();
}

}  // namespace vellumark::testing
