#!/usr/bin/env bash
# Installs the Debian packages of the named groups that are not installed yet.
# Usage: scripts/deps.sh build|gui|test|package|windows|wine|wine32|bench|ssh ...
# wine32 needs the i386 architecture added first (scripts/windows-test.sh does).
set -euo pipefail

declare -A groups=(
  [build]="cmake ninja-build g++ pkg-config libcli11-dev libstb-dev librapidxml-dev help2man"
  [gui]="qt6-base-dev qt6-translations-l10n libgl-dev fonts-wqy-microhei"
  [test]="googletest libgtest-dev libjpeg-turbo-progs libjpeg-dev clang-14 libfuzzer-14-dev nlohmann-json3-dev"
  [windows]="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest nsis nlohmann-json3-dev"
  [package]="dpkg-dev file lintian desktop-file-utils appstream bash-completion"
  [wine]="wine wine64 fonts-wine fonts-wqy-microhei xvfb xauth locales"
  [wine32]="wine32:i386"
  [bench]="hyperfine time parallel libjpeg-turbo-progs libjpeg-dev jpeginfo netpbm jhead exiv2 libimage-exiftool-perl"
  [ssh]="openssh-server openssh-client"
)

wanted=()
for group in "$@"; do
  [[ -v "groups[$group]" ]] || { echo "deps.sh: unknown group $group" >&2; exit 2; }
  for package in ${groups[$group]}; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      wanted+=("$package")
    fi
  done
done

if ((${#wanted[@]})); then
  echo "Installing: ${wanted[*]}" >&2
  "$(dirname "$0")/apt-get.sh" update -qq
  "$(dirname "$0")/apt-get.sh" install -y -qq --no-install-recommends "${wanted[@]}" >/dev/null
fi
