#!/usr/bin/env bash
# Fills DIR with 288 real JPEG files made by cjpeg (Debian package
# libjpeg-turbo-progs): 6 picture sizes x 6 qualities x 8 encoder settings, so the
# batch holds the marker layouts encoders really write (progressive scans with
# many DHT segments, DRI and RST, arithmetic coding with DAC, one-component
# grayscale, COM added by wrjpgcom).
#
#   bench/make_corpus.sh DIR
set -euo pipefail

dir=${1:?usage: make_corpus.sh DIR}
mkdir -p "$dir"

sizes=(8x8 64x48 320x240 640x480 1024x768 1600x1200)
qualities=(10 25 50 75 90 95)
# name:cjpeg options (no blanks inside one option's value)
settings=(
  base:
  opt:-optimize
  prog:-progressive
  rst:-restart\ 1
  gray:-grayscale
  proggray:-progressive\ -grayscale
  arith:-arithmetic
  com:-optimize\ -sample\ 1x1
)

# A gradient with noise and a fine pattern: smooth enough to look like a
# picture, busy enough that the entropy-coded data is not trivially small.
make_picture() {
  local width=$1 height=$2
  LC_ALL=C awk -v w="$width" -v h="$height" 'BEGIN {
    srand(7); print "P3"; print w, h; print 255
    for (y = 0; y < h; y++)
      for (x = 0; x < w; x++) {
        n = int(rand() * 24)
        print int(x * 200 / w + n) % 256, int(y * 200 / h + n) % 256, ((x * y) % 97 + n) % 256
      }
  }'
}

for size in "${sizes[@]}"; do
  picture="$dir/picture-$size.ppm"
  make_picture "${size%x*}" "${size#*x}" > "$picture"
  for quality in "${qualities[@]}"; do
    for setting in "${settings[@]}"; do
      name=${setting%%:*}
      read -r -a options <<< "${setting#*:}"
      out="$dir/$size-q$quality-$name.jpg"
      # At quality 10 cjpeg cautions that its tables are too coarse for baseline;
      # that is expected, and a real failure still stops the script.
      cjpeg -quality "$quality" "${options[@]}" "$picture" 2>/dev/null > "$out"
      if [[ $name == com ]]; then
        wrjpgcom -replace -comment "made for the Vellumark benchmark" "$out" > "$out.tmp"
        mv "$out.tmp" "$out"
      fi
    done
  done
  rm "$picture"
done
