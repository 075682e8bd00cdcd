#!/usr/bin/env bash
# The largest report per input byte: a file of nothing but FF 00 pairs, each
# reported as a marker of its own (about 20 times the file's size in report
# text). Prints, for 1, 16 and 64 MiB and for UTF-8 and GBK output, the report
# size, the time, the report throughput to /dev/null and the peak memory, which
# shows whether the report streams in constant memory. Figures only: nothing here
# passes or fails.
#
#   bench/ff00.sh [PATH/TO/vellumark-report]
set -euo pipefail

source "$(dirname "$0")/common.sh"

# A subshell, so that yes and tr ending on SIGPIPE when head has enough is not
# taken for a failure by the rest of the script.
make_pairs() (
  set +o pipefail
  yes $'\xff' | LC_ALL=C tr '\n' '\000' | head -c "$1"
)

# measure LABEL ENCODING FILE : one line of the table. The time is the median of
# several runs (hyperfine), the size comes from one more run, and the peak
# memory (maximum resident set size, as /usr/bin/time -v reports it) from
# another.
measure() {
  local label=$1 encoding=$2 file=$3
  local command=("$report" "--encoding=$encoding" "$file")
  local bytes seconds rss_kib
  bytes=$("${command[@]}" | wc -c)
  hyperfine --shell=none --warmup 1 --min-runs 3 --max-runs 10 --style none \
    --export-csv "$work/time.csv" "$(printf '%q ' "${command[@]}")" > /dev/null 2>&1
  seconds=$(awk -F, 'NR == 2 { print $4 }' "$work/time.csv")
  /usr/bin/time -v -o "$work/rss.txt" "${command[@]}" > /dev/null
  rss_kib=$(sed -n 's/^\tMaximum resident set size (kbytes): //p' "$work/rss.txt")
  awk -v label="$label" -v encoding="$encoding" -v bytes="$bytes" -v s="$seconds" \
    -v rss="$rss_kib" 'BEGIN {
      printf "%-8s %-8s %14d %9.3f %10.0f %12d\n", label, encoding, bytes, s, bytes / s / 1e6, rss
    }'
}

echo "$(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "vellumark-report: $report"
echo "Aims: at least 200 MB/s of report text; the same peak memory for every size."
echo
printf '%-8s %-8s %14s %9s %10s %12s\n' input encoding "report bytes" seconds "MB/s" "max RSS KiB"
for mib in 1 16 64; do
  file="$work/ff00-$mib-MiB.jpg"
  make_pairs $((mib << 20)) > "$file"
  for encoding in utf-8 gbk; do
    measure "$mib MiB" "$encoding" "$file"
  done
  rm "$file"
done
