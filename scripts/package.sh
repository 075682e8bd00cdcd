#!/usr/bin/env bash
# Builds the two Debian packages of Vellumark, vellumark-report (the command
# line) and vellumark (the window, which depends on it), into BUILD_DIR
# (default build/package) and prints their paths, in that order.
# Install them with: apt install ./build/package/vellumark*_VERSION_ARCH.deb
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/package}

scripts/deps.sh build gui package
# The compiler and linker flags of Debian's own builds, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package -B "$build" -DVELLUMARK_BUILD_GUI=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" >&2
rm -f "$build"/vellumark*.deb
(cd "$build" && cpack >&2)
realpath "$build"/vellumark-report_*.deb "$build"/vellumark_*.deb
