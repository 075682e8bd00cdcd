#!/usr/bin/env bash
# Builds the Windows programs and their tests and runs them under Wine: the core
# suite through ctest, the window tests under Xvfb, then the installer's round
# trip: a silent install, the installed vellumark-report on a real file, a
# silent uninstall.
#
# The 32-bit build, the one users get, is tested wherever the machine runs
# 32-bit code (it adds Debian's i386 architecture for wine32); elsewhere the
# same sources are tested as a 64-bit build under 64-bit Wine, since some
# virtual machines' kernels run no 32-bit code at all. A tiny static 32-bit
# program finds out which; VELLUMARK_WINE32=0 or 1 decides instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Quiet, so that the first line printed is the choice below; errors still show.
deps_log=$(mktemp)
scripts/deps.sh build windows wine 2>"$deps_log" || { cat "$deps_log" >&2; exit 1; }
rm -f "$deps_log"

# Exits with 42 where the kernel runs it.
runs_32bit_code() {
  local dir status=0
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
  as --32 -o "$dir/probe.o" "$dir/probe.s" && ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" &&
    "$dir/probe" 2>/dev/null || status=$?
  rm -rf "$dir"
  ((status == 42))
}

if [[ -n "${VELLUMARK_WINE32:-}" ]]; then
  wine32=$VELLUMARK_WINE32 why="VELLUMARK_WINE32=$VELLUMARK_WINE32 says so"
elif runs_32bit_code; then
  wine32=1 why="this machine runs 32-bit code"
else
  wine32=0 why="this machine runs no 32-bit code"
fi
if [[ "$wine32" == 1 ]]; then
  echo "Testing the 32-bit Windows build under 32-bit Wine: $why."
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  scripts/deps.sh wine32
  preset=windows
  export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  echo "Testing the 64-bit Windows build under 64-bit Wine: $why."
  preset=windows64
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi

# The tests are asked for: scripts/windows-build.sh leaves them off in build/windows.
cmake --preset "$preset" -DBUILD_TESTING=ON >/dev/null
cmake --build --preset "$preset"

# Chinese text needs a Chinese locale: it gives Wine the ANSI code page 936,
# and the Unix names of files with Chinese names.
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

# The installer's round trip, with a wineserver of its own: wineserver -w waits
# for the uninstaller, which returns before it has removed the files.
source scripts/checks.sh
cpack --preset "$preset" -G NSIS >/dev/null
installer=$(echo build/"$preset"/vellumark-*.exe)
programs() { find "$WINEPREFIX/drive_c" -path '*/Vellumark/vellumark*.exe'; }
start_menu_entry() { find "$WINEPREFIX/drive_c" -name 'JPEG文件格式分析工具.lnk'; }
registered() {
  "$WINELOADER" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumark' >/dev/null 2>&1
}
unregistered() { ! registered; }
"$WINELOADER" "$installer" /S && "$WINESERVER" -w
installed=$(programs)
folder=$(dirname "$(head -1 <<<"$installed")")
echo "Installed into ${folder/#$WINEPREFIX\/drive_c/C:}"
check test "$(wc -l <<<"$installed")" = 2
check test -n "$(start_menu_entry)"
check registered
"$WINELOADER" "$folder/vellumark-report.exe" tests/golden/baseline.jpg >"$WINEPREFIX/report.txt"
check cmp "$WINEPREFIX/report.txt" tests/golden/baseline.expected
"$WINELOADER" "$folder/Uninstall.exe" /S && "$WINESERVER" -w
check test ! -e "$folder"
check test -z "$(start_menu_entry)"
check unregistered
checks_summary installer
