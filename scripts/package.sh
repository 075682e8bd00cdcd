#!/usr/bin/env bash
# Builds the Debian package of Vellumark into build/package and prints its path.
# Install it with: apt install ./build/package/vellumark_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build gui package
# The compiler and linker flags of Debian's own builds, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset package >&2
cpack --preset package >&2
realpath build/package/vellumark_*.deb
