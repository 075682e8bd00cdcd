#!/usr/bin/env bash
# The cost of one run on one file, which is mostly starting the process:
# `vellumark-report samples/sample.jpg` timed with hyperfine -N (no shell in
# between), next to /bin/true, the least any process costs. Give more builds
# after the first to compare them in the same run, e.g. one made before a
# change. Figures only: nothing here passes or fails.
#
#   bench/startup.sh [PATH/TO/vellumark-report [OTHER/vellumark-report...]]
set -euo pipefail

source "$(dirname "$0")/common.sh"
reports=("$report" "${@:2}")
sample="$root/samples/sample.jpg"

commands=(/bin/true)
for each in "${reports[@]}"; do
  commands+=("$(realpath "$each") $sample")
done
hyperfine -N --warmup 100 --runs "${BENCH_RUNS:-2000}" --style none --export-csv "$work/time.csv" \
  "${commands[@]}" > /dev/null 2>&1

echo "$(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'); $(uptime | sed 's/.*load/load/')"
echo
awk -F, 'NR > 1 {
    printf "%-80s %7.3f ms mean  %7.3f ms median  %7.3f ms min\n", $1, $2 * 1e3, $4 * 1e3, $7 * 1e3
  }' "$work/time.csv"
