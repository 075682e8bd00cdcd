#!/usr/bin/env bash
# vellumark-report --json on large files. The scan speed: a cjpeg file of about
# 100 MB, read from the page cache, its entropy-coded data scanned to the end.
# The memory: files of 100 MB made of millions of markers (empty COM segments)
# or of millions of problems (FF 01 00: a TEM marker and a skipped byte each),
# whose lines are gigabytes long, next to a small file: the peak memory must not
# grow with any of them. Prints the output size, the time (median of several
# runs), the throughput in input MB per second of wall-clock and of CPU time,
# and the peak memory. Figures only: nothing here passes or fails.
#
#   bench/structure.sh [PATH/TO/vellumark-report]
set -euo pipefail

source "$(dirname "$0")/common.sh"

# Noise at quality 95 without chroma subsampling leaves the entropy coder little
# to squeeze: 6500 x 6500 pixels make about 100 MB.
make_large_jpeg() {
  { printf 'P6\n6500 6500\n255\n'; head -c $((6500 * 6500 * 3)) /dev/urandom; } > "$work/noise.ppm"
  cjpeg -quality 95 -sample 1x1 "$work/noise.ppm" > "$1"
  rm "$work/noise.ppm"
}

# measure LABEL FILE : one line of the table.
measure() {
  local label=$1 file=$2
  local command=("$report" --json "$file")
  local size bytes seconds cpu rss_kib
  size=$(stat -c %s "$file")
  cat "$file" > /dev/null  # into the page cache
  bytes=$("${command[@]}" | wc -c)
  hyperfine --shell=none --warmup 1 --min-runs 3 --max-runs 20 --style none \
    --export-csv "$work/time.csv" "$(printf '%q ' "${command[@]}")" > /dev/null 2>&1
  seconds=$(awk -F, 'NR == 2 { print $4 }' "$work/time.csv")
  /usr/bin/time -f '%U %S %M' -o "$work/usage.txt" "${command[@]}" > /dev/null
  read -r user system rss_kib < "$work/usage.txt"
  cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
  awk -v label="$label" -v size="$size" -v bytes="$bytes" -v s="$seconds" -v cpu="$cpu" -v rss="$rss_kib" 'BEGIN {
    printf "%-26s %9.1f %11.1f %9.3f %9.0f %8.2f %9.0f %12d\n", label, size / 1e6, bytes / 1e6, s,
      size / s / 1e6, cpu, (cpu > 0 ? size / cpu / 1e6 : 0), rss
  }'
}

echo "$(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "vellumark-report: $report"
echo "Aims: at least 1500 MB/s through the cjpeg file on one core; the same peak memory for every input."
echo
printf '%-26s %9s %11s %9s %9s %8s %9s %12s\n' input "input MB" "output MB" seconds "MB/s" "CPU s" "MB/CPU-s" "max RSS KiB"

measure "samples/sample.jpg" "$root/samples/sample.jpg"

make_large_jpeg "$work/large.jpg"
measure "cjpeg q95, 6500 x 6500" "$work/large.jpg"
rm "$work/large.jpg"

# SOI, 25 million empty COM segments (FF FE 00 02), EOI.
perl -e 'print "\xFF\xD8", "\xFF\xFE\x00\x02" x 25_000_000, "\xFF\xD9"' > "$work/comments.jpg"
measure "25 M empty COM segments" "$work/comments.jpg"
rm "$work/comments.jpg"

# SOI, then FF 01 00 33 million times: a TEM marker and a byte where the next
# marker belongs, each time; no EOI.
perl -e 'print "\xFF\xD8", "\xFF\x01\x00" x 33_333_333' > "$work/tem.jpg"
measure "33 M TEM + skipped bytes" "$work/tem.jpg"
