#!/usr/bin/env bash
# vellumark-report over 100,000 small JPEG files in a folder tree of 1,000 files
# per folder (hard links to a few cjpeg outputs): the time per file when the
# tree is walked with -r and when the same files come from a --files-from list
# (100,000 names do not fit on a command line), with one job and with two; then
# the peak memory for 100,000 files next to 1,000, which shows whether a batch
# of any size runs in the same memory. Output goes to /dev/null. Figures only:
# nothing here passes or fails.
#
#   bench/many_files.sh [PATH/TO/vellumark-report]
#
# BENCH_FOLDERS changes the number of folders of 1,000 files (default 100).
set -euo pipefail

source "$(dirname "$0")/common.sh"

folders=${BENCH_FOLDERS:-100}
per_folder=1000
tree="$work/tree"

# Eight small files from cjpeg, each linked into the tree again and again.
make_tree() {
  local sources=() quality setting i d
  for quality in 50 75 90 95; do
    for setting in -baseline -progressive; do
      local source="$work/q$quality$setting.jpg"
      { printf 'P6\n32 32\n255\n'; head -c 3072 /dev/urandom; } | cjpeg -quality "$quality" "$setting" > "$source"
      sources+=("$source")
    done
  done
  mkdir -p "$tree/d000"
  for ((i = 0; i < per_folder; i++)); do
    ln "${sources[i % ${#sources[@]}]}" "$tree/d000/$(printf 'f%04d.jpg' "$i")"
  done
  for ((d = 1; d < folders; d++)); do
    cp -al "$tree/d000" "$tree/$(printf 'd%03d' "$d")"
  done
}

make_tree
files=$((folders * per_folder))
find "$tree" -name '*.jpg' | LC_ALL=C sort > "$work/all.list"
find "$tree/d000" -name '*.jpg' | LC_ALL=C sort > "$work/one-folder.list"

# seconds_per_file COMMAND... : the median of a few runs of each command
# (hyperfine, one call, so that the commands are timed close together; the
# warm-up run fills the page cache), one line per command.
seconds_per_file() {
  hyperfine --shell=none --warmup 1 --min-runs 5 --max-runs 10 --style none \
    --export-csv "$work/time.csv" "$@" > /dev/null 2>&1
  awk -F, -v n="$files" 'NR > 1 { split($1, w, " "); printf "%-28s %10.3f %12.2f\n", w[2] " -j " w[5], $4, $4 * 1e6 / n }' \
    "$work/time.csv"
}

# peak_kib COMMAND... : the maximum resident set size of one run.
peak_kib() {
  /usr/bin/time -v -o "$work/rss.txt" "$@" > /dev/null
  sed -n 's/^\tMaximum resident set size (kbytes): //p' "$work/rss.txt"
}

echo "$files JPEG files in $folders folders (hard links to 8 files of 32x32 pixels); $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "vellumark-report: $report"
echo
printf '%-28s %10s %12s\n' "$files files" seconds "us per file"
for jobs in 1 2; do
  seconds_per_file "$report -r $tree -j $jobs" "$report --files-from $work/all.list -j $jobs"
done

echo
printf '%-28s %14s %14s %8s\n' "peak memory" "1,000 files" "$files files" ratio
for way in -r --files-from; do
  if [[ $way == -r ]]; then
    small=$(peak_kib "$report" -r "$tree/d000")
    large=$(peak_kib "$report" -r "$tree")
  else
    small=$(peak_kib "$report" --files-from "$work/one-folder.list")
    large=$(peak_kib "$report" --files-from "$work/all.list")
  fi
  awk -v name="$way" -v small="$small" -v large="$large" \
    'BEGIN { printf "%-28s %10d KiB %10d KiB %7.2fx\n", name, small, large, large / small }'
done
