#!/usr/bin/env bash
# Builds and runs every test: the dev build, then the whole suite again under the
# address and undefined-behaviour sanitizers, then the checks of the Debian
# package, then a one-minute fuzz run of each libFuzzer target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build gui test
export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
scripts/package-test.sh
fuzz/run.sh 60
