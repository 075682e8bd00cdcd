#!/bin/bash
# Regenerates the committed icon files from vellumark.svg, so that building
# the program never needs rsvg-convert, ImageMagick or icoutils.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
svg="$here/vellumark.svg"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for size in 16 32 48 64 128 256; do
    dir="$here/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$dir/vellumark.png"
done

ico_args=()
for size in 16 32 48; do
    rgba="$work/$size-rgba.png"
    pal="$work/$size-pal.png"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$rgba"
    # A 256-colour entry stores transparency as a 1-bit mask, and icotool
    # refuses to drop to 8 bits while partial alpha remains, so the edges are
    # snapped to opaque or clear before the colours are reduced.
    convert "$rgba" -channel A -threshold 50% +channel \
        -dither None -colors 255 -strip "$pal"
    ico_args+=(-b 8 "$pal" -b 32 "$rgba")
done
icotool -c -o "$here/vellumark.ico" "${ico_args[@]}"

icotool -l "$here/vellumark.ico"
