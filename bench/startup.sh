#!/usr/bin/env bash
# The cost of one run on one file, which is mostly starting the process:
# `vellumark-report samples/sample.jpg` timed with hyperfine -N (no shell in
# between), next to `jhead samples/sample.jpg`, a peer that starts about as
# little as a C program can, and /bin/true, the least any process costs. The
# last column is each one's own cost: its median less /bin/true's. Give more
# builds after the first to compare them in the same run, e.g. one made before
# a change. Figures only: nothing here passes or fails.
#
#   bench/startup.sh [PATH/TO/vellumark-report [OTHER/vellumark-report...]]
set -euo pipefail

source "$(dirname "$0")/common.sh"
reports=("$report" "${@:2}")
sample="$root/samples/sample.jpg"

commands=(/bin/true "jhead $sample")
for each in "${reports[@]}"; do
  commands+=("$(realpath "$each") $sample")
done
hyperfine -N --warmup 100 --runs "${BENCH_RUNS:-2000}" --style none --export-csv "$work/time.csv" \
  "${commands[@]}" > /dev/null 2>&1

echo "$(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'); $(uptime | sed 's/.*load/load/')"
echo
awk -F, 'NR == 2 { bare = $4 }
  NR > 1 {
    printf "%-60s %7.3f ms mean %7.3f ms median %7.3f ms min %7.3f ms own\n", $1, $2 * 1e3, $4 * 1e3, $7 * 1e3,
           ($4 - bare) * 1e3
  }' "$work/time.csv"
