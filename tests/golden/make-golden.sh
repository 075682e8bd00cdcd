#!/usr/bin/env bash
# Regenerates the golden JPEG files: one small image encoded by libjpeg-turbo's
# cjpeg (Debian package libjpeg-turbo-progs) with the options that change the
# marker structure. The files are committed because cjpeg's output is only
# stable for one libjpeg-turbo version (these were made with 2.1.5).
# The .expected reports beside them were checked by hand against the files;
# regenerate them only after reviewing the difference.
set -euo pipefail
cd "$(dirname "$0")"

# A 24x16 colour picture with gradients and a diagonal edge, so every encoder
# option gives tables with more than a few symbols.
image=$(mktemp)
trap 'rm -f "$image"' EXIT
awk 'BEGIN {
  w = 24; h = 16
  print "P3"; print w, h; print 255
  for (y = 0; y < h; y++)
    for (x = 0; x < w; x++)
      print int(x * 255 / (w - 1)), (x > y ? 230 : 20), int((x * y) % 256)
}' > "$image"

encode() {  # encode NAME cjpeg-options...
  local name=$1
  shift
  cjpeg "$@" "$image" > "$name.jpg"
}

encode baseline
encode progressive -progressive
encode restart -restart 1
encode optimize -optimize
encode arithmetic -arithmetic
encode grayscale -grayscale
# Quality 1 gives quantisation values above 255, so cjpeg writes 16-bit tables
# (precision 1) unless -baseline is given.
encode quality1 -quality 1
# With -baseline, quality 2 caps its tables at 255: the chrominance table comes
# out as quality 3 would make it too.
encode quality2-baseline -quality 2 -baseline
