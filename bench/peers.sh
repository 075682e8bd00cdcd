#!/usr/bin/env bash
# Times vellumark-report against general JPEG tools on the same few hundred real
# JPEG files, and prints the time per file of each and its ratio to
# vellumark-report. Output goes to /dev/null. Figures only: nothing here passes
# or fails.
#
#   bench/peers.sh [PATH/TO/vellumark-report]
set -euo pipefail

source "$(dirname "$0")/common.sh"
"$root/bench/make_corpus.sh" "$work/corpus"
# Short relative names keep the command line of thousands of files well inside
# the argument limit of one process.
cd "$work/corpus"
files=(*.jpg)
count=${#files[@]}
printf '%s\n' "${files[@]}" > "$work/list"

# row NAME COMMAND... : times COMMAND and prints one line of the table. The
# time is the median of several runs (hyperfine; the warm-up run fills the page
# cache) divided by the number of files it was given; the output bytes come from
# one more run. The first row of a section is the reference for the ratios of
# the rows after it.
row() {
  local name=$1 note="" bytes
  shift
  bytes=$("$@" 2> /dev/null | wc -c) || note="exit status $?"
  hyperfine --shell=none --warmup 1 --min-runs 3 --max-runs 20 --ignore-failure --style none \
    --export-csv "$work/time.csv" "$(printf '%q ' "$@")" > /dev/null 2>&1
  local seconds
  seconds=$(awk -F, 'NR == 2 { print $4 }' "$work/time.csv")
  per_file_us=$(awk -v s="$seconds" -v n="$files_given" 'BEGIN { printf "%.3f", s * 1e6 / n }')
  reference_us=${reference_us:-$per_file_us}
  awk -v name="$name" -v s="$seconds" -v us="$per_file_us" -v ref="$reference_us" \
    -v bytes="$bytes" -v n="$files_given" -v note="$note" 'BEGIN {
      printf "%-24s %9.1f %12.1f %9.2fx %11.0f  %s\n", name, s * 1e3, us, us / ref, bytes / n, note
    }'
}

section() {
  reference_us=""
  files_given=$1
  printf '\n%s\n' "$2"
  printf '%-24s %9s %12s %10s %11s\n' tool "total ms" "us per file" "vs report" "out B/file"
}

# A process costs a few milliseconds to start on some machines, as much as a
# few hundred files take to report. Passing the corpus several times over keeps
# the one-process figures about the work on the files.
rounds=${BENCH_ROUNDS:-10}
batch=()
for ((i = 0; i < rounds; i++)); do
  batch+=("${files[@]}")
done

echo "$count JPEG files from cjpeg, $(du -sh . | cut -f1)B; $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "vellumark-report: $report"

section "${#batch[@]}" "One process over the $count files, $rounds times over (${#batch[@]} files)"
# The other tools use one core: vellumark-report is timed with one job, and
# then with one job per core, for either output.
jobs=$(nproc)
row "vellumark-report -j 1" "$report" -j 1 "${batch[@]}"
row "vellumark-report -j $jobs" "$report" -j "$jobs" "${batch[@]}"
row "vellumark-report --ac" "$report" -j 1 --ac "${batch[@]}"
row "vellumark-report --json -j 1" "$report" --json -j 1 "${batch[@]}"
row "vellumark-report --json -j $jobs" "$report" --json -j "$jobs" "${batch[@]}"
row "jhead" jhead "${batch[@]}"
row "exiv2 -pS" exiv2 -pS "${batch[@]}"
row "exiftool -v3" exiftool -v3 "${batch[@]}"
row "exiftool -j" exiftool -j "${batch[@]}"

# rdjpgcom reads one file per run, so here every file gets a process of its own
# (xargs, no shell in between): the figures are the cost of one process.
section "$count" "One process per file, $count files (rdjpgcom reads one file per run)"
row "vellumark-report" xargs -n 1 -a "$work/list" "$report"
row "vellumark-report --json" xargs -n 1 -a "$work/list" "$report" --json
row "jhead" xargs -n 1 -a "$work/list" jhead
row "rdjpgcom -verbose" xargs -n 1 -a "$work/list" rdjpgcom -verbose
