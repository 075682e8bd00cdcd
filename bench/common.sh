# Shared by the benchmark scripts: sourced, not run. Installs the packages the
# benchmarks use (scripts/deps.sh bench) and sets root, report (the
# vellumark-report to time, from the script's first argument) and work (a
# temporary folder removed on exit).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
script=$(basename "$0")
report=$(realpath "${1:-$root/build/bench/cli/vellumark-report}")
if [[ ! -x $report ]]; then
  echo "$script: $report is not built; see bench/README.md" >&2
  exit 2
fi

"$root/scripts/deps.sh" bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
