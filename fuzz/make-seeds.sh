#!/usr/bin/env bash
# Regenerates the seed files in fuzz/seeds: the golden picture encoded by cjpeg
# (Debian package libjpeg-turbo-progs) with options the golden files do not use,
# and files with a JFIF thumbnail built byte by byte. The fuzz runs also start
# from tests/golden/*.jpg and samples/sample.jpg. The files are committed because
# cjpeg's output is only stable for one libjpeg-turbo version (2.1.5 here).
set -euo pipefail
cd "$(dirname "$0")"
golden=../tests/golden
image=$(mktemp)
trap 'rm -f "$image"' EXIT
djpeg -pnm "$golden/baseline.jpg" > "$image"

encode() {  # encode NAME cjpeg-options...
  local name=$1
  shift
  cjpeg "$@" "$image" > "seeds/$name.jpg"
}

encode sample-444 -sample 1x1
encode sample-h2v2-smooth -sample 2x2 -smooth 30
encode restart-blocks -restart 4B -optimize
encode progressive-arithmetic -progressive -arithmetic
encode rgb -rgb
encode float-q100 -dct float -quality 100
encode grayscale-progressive -grayscale -progressive
# A COM segment from wrjpgcom, between the APP0 and the first DQT.
wrjpgcom -comment "Vellumark seed" "$golden/baseline.jpg" > seeds/comment.jpg

# cjpeg writes SOI and a 16-byte JFIF APP0 (no thumbnail) in its first 20 bytes;
# the rest of the file follows these hand-made heads.
rest_of_baseline() { tail -c +21 "$golden/baseline.jpg"; }
jfif_fixed='JFIF\x00\x01\x01\x00\x00\x01\x00\x01'  # identifier, version 1.1, no units, density 1:1

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE0\x00\x16'                # APP0, length 22 = 16 fixed + 6 pixel bytes
  printf "$jfif_fixed"
  printf '\x02\x01'                        # thumbnail 2 x 1
  printf '\xFF\x00\x00\x00\x00\xFF'        # red, blue
  rest_of_baseline
} > seeds/thumbnail-2x1.jpg

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE1\x00\x12'                # APP1, length 18, skipped by the search
  printf 'Exif\x00\x00MM\x00\x2A\x00\x00\x00\x08\x00\x00'
  printf '\xFF\xE0\x00\x13'                # APP0, length 19 = 16 fixed + 3 pixel bytes
  printf 'jfif\x00\x01\x02\x01\x00\x48\x00\x48'  # identifier in lower case, 72 dpi
  printf '\x01\x01'                        # thumbnail 1 x 1
  printf '\x80\x80\x80'                    # grey
  rest_of_baseline
} > seeds/thumbnail-lower-case-after-app1.jpg

{
  printf '\xFF\xD8'                        # SOI
  printf '\xFF\xE0\x01\x00'                # APP0, length 256: runs past the end of the file
  printf "$jfif_fixed"
  printf '\x04\x04'                        # thumbnail 4 x 4: 48 pixel bytes declared
  printf '\x11\x22\x33%.0s' 1 2 3 4 5 6 7  # only 21 of them before the file ends
} > seeds/thumbnail-cut-by-end-of-file.jpg
