#!/usr/bin/env bash
# Regenerates samples/sample.jpg: a 64x48 colour gradient encoded by libjpeg-turbo's
# cjpeg (Debian package libjpeg-turbo-progs), so the bundled sample is real encoder output.
set -euo pipefail
cd "$(dirname "$0")"
awk 'BEGIN {
  w = 64; h = 48
  print "P3"; print w, h; print 255
  for (y = 0; y < h; y++)
    for (x = 0; x < w; x++)
      print int(x * 255 / (w - 1)), int(y * 255 / (h - 1)), int((x + y) * 255 / (w + h - 2))
}' | cjpeg -quality 85 -optimize > sample.jpg
