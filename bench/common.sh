# Shared by the benchmark scripts: sourced, not run. Sets root, report (the
# vellumark-report to time, from the script's first argument) and work (a
# temporary folder removed on exit); require_tools stops with the packages to
# install when a tool is missing.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
script=$(basename "$0")
report=$(realpath "${1:-$root/build/bench/cli/vellumark-report}")
if [[ ! -x $report ]]; then
  echo "$script: $report is not built; see bench/README.md" >&2
  exit 2
fi

# require_tools "PACKAGES" TOOL...
require_tools() {
  local packages=$1
  shift
  for tool in "$@"; do
    if ! command -v "$tool" > /dev/null; then
      echo "$script: $tool is missing: apt-get install $packages" >&2
      exit 2
    fi
  done
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
