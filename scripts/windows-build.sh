#!/usr/bin/env bash
# Cross-builds the 32-bit Windows programs vellumark.exe and
# vellumark-report.exe into build/windows, packs them with README.txt and
# LICENSE.txt into a zip and an installer, and prints where these are.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build windows
cmake --preset windows -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset windows
file build/windows/ui/win32/vellumark.exe build/windows/cli/vellumark-report.exe
cpack --preset windows >&2
realpath build/windows/vellumark-*-win32.{zip,exe}
