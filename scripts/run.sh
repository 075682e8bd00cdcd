#!/usr/bin/env bash
# Builds Vellumark and starts the window; without a display, prints the report
# of the bundled sample instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build gui
# Only the two programs; build output goes to standard error so that, without a
# display, standard output is the report alone.
cmake --preset release -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset release --target vellumark vellumark-report >&2

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/release/ui/vellumark
fi
echo "No display found: showing the report of samples/sample.jpg instead." >&2
echo "Start the window with build/release/ui/vellumark on a machine with a display." >&2
build/release/cli/vellumark-report samples/sample.jpg
