#!/usr/bin/env bash
# Regenerates samples/sample.jpg: a 64x48 colour gradient encoded by libjpeg-turbo's
# cjpeg (Debian package libjpeg-turbo-progs), so the bundled sample is real encoder output.
set -euo pipefail
# awk writes the pixel values as single bytes only in the C locale.
export LC_ALL=C
cd "$(dirname "$0")"
awk 'BEGIN {
  w = 64; h = 48
  print "P3"; print w, h; print 255
  for (y = 0; y < h; y++)
    for (x = 0; x < w; x++)
      print int(x * 255 / (w - 1)), int(y * 255 / (h - 1)), int((x + y) * 255 / (w + h - 2))
}' | cjpeg -quality 85 -optimize > sample.jpg

# sample-thumbnail.jpg: the same image with a 16x12 RGB thumbnail in its JFIF APP0
# segment (cjpeg writes none): length 16 + 16*12*3 = 592 = 0x0250.
{
  printf '\xFF\xD8\xFF\xE0\x02\x50JFIF\x00\x01\x02\x00\x00\x01\x00\x01\x10\x0C'
  awk 'BEGIN {
    for (y = 0; y < 12; y++)
      for (x = 0; x < 16; x++)
        printf "%c%c%c", int(x * 255 / 15), int(y * 255 / 11), int((x + y) * 255 / 26)
  }'
  tail -c +21 sample.jpg
} > sample-thumbnail.jpg
