#!/usr/bin/env bash
# Builds the Windows programs and their tests and runs them under Wine: the core
# suite through ctest, then the window tests under Xvfb.
#
# Wine runs the 32-bit build where the machine can run 32-bit code and
# VELLUMARK_WINE32=1 asks for it (it adds Debian's i386 architecture for
# wine32). Otherwise the same sources are tested as a 64-bit build under 64-bit
# Wine: some virtual machines' kernels run no 32-bit code at all.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh build windows wine
preset=windows64
export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
if [[ "${VELLUMARK_WINE32:-0}" == 1 ]]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' ||
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null; }
  preset=windows
  export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

# Chinese text needs a Chinese locale: it gives Wine the ANSI code page 936.
export LOCPATH="$PWD/build/locale"
if [[ ! -d "$LOCPATH/zh_CN.UTF-8" ]]; then
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8"
fi
export WINEPREFIX="$PWD/build/$preset/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8
# The wineserver starts in the prefix folder, which a fresh clone does not have.
mkdir -p "$WINEPREFIX"

# A wineserver that outlives each test: one that starts and stops with a test
# keeps ctest's output pipes open and the run hangs.
start_wine() { "$WINESERVER" -p && "$WINELOADER" cmd /c exit 0 >/dev/null 2>&1; }
stop_wine() { "$WINESERVER" -k 2>/dev/null || true; }
trap stop_wine EXIT

stop_wine
start_wine
ctest --preset "$preset" -LE display
stop_wine

# The window tests need a display; the wineserver is started again inside it.
xvfb-run -a -s '-screen 0 1024x768x24' bash -c "$(declare -f start_wine stop_wine)
  start_wine && ctest --preset $preset -L display; status=\$?; stop_wine; exit \$status"
