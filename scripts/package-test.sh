#!/usr/bin/env bash
# Builds the two Debian packages and checks them: every file in its package,
# the command line's package free of Qt and the window's depending on it at the
# same version, lintian, the menu entry and AppStream validators; then installs
# vellumark-report alone and checks the installed program, its manual page and
# its completion, installs vellumark next to it, and at the end removes what it
# installed (a package installed before is left, in the version built here).
# Usage: scripts/package-test.sh [BUILD_DIR]   (default build/package)
set -euo pipefail
cd "$(dirname "$0")/.."

{ read -r report_deb; read -r window_deb; } < <(scripts/package.sh "$@")
version=$(dpkg-deb -f "$report_deb" Version)
source scripts/checks.sh

# Each file in the one package it belongs to.
has_files() {
  local deb=$1 contents
  shift
  contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
  for file in "$@"; do
    check grep -qx "./$file" <<<"$contents"
  done
}
doc_files() { echo usr/share/doc/"$1"/{copyright,changelog.gz,README.md}; }
report_files=(usr/bin/vellumark-report usr/share/man/man1/vellumark-report.1.gz
  usr/share/bash-completion/completions/vellumark-report $(doc_files vellumark-report))
window_files=(usr/bin/vellumark usr/share/applications/vellumark.desktop
  usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/vellumark.png
  usr/share/metainfo/io.github.vellumark.vellumark.metainfo.xml
  usr/share/man/man1/vellumark.1.gz $(doc_files vellumark))
has_files "$report_deb" "${report_files[@]}"
has_files "$window_deb" "${window_files[@]}"
check test "$(dpkg-deb --contents "$report_deb" | grep -c -e bin/vellumark$ -e '\.desktop$' -e /icons/)" = 0
check test "$(dpkg-deb --contents "$window_deb" | grep -c -e vellumark-report)" = 0

check test "$(dpkg-deb -f "$window_deb" Version)" = "$version"
check grep -q "^vellumark-report (= $version)," <<<"$(dpkg-deb -f "$window_deb" Depends)"
check grep -qv -i qt <<<"$(dpkg-deb -f "$report_deb" Depends)"

check lintian --fail-on error,warning "$report_deb" "$window_deb"

root=$(mktemp -d)
installed_before=$(dpkg-query -W -f='${Package} ${Status}\n' vellumark vellumark-report 2>/dev/null |
  awk '/install ok installed/ {print $1}' || true)
remove_installed() {
  local package
  rm -rf "$root"
  for package in vellumark vellumark-report; do
    grep -qx "$package" <<<"$installed_before" ||
      scripts/apt-get.sh purge -y -qq "$package" >/dev/null 2>&1 || true
  done
}
trap remove_installed EXIT
dpkg-deb -x "$window_deb" "$root"
check desktop-file-validate "$root/usr/share/applications/vellumark.desktop"
check appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.vellumark.vellumark.metainfo.xml"

# The command line alone, as a server without a desktop gets it.
scripts/apt-get.sh install -y -qq "$report_deb" >/dev/null
check test "$(dpkg-query -W -f='${Version}' vellumark-report)" = "$version"
check test "$(/usr/bin/vellumark-report --version)" = "vellumark-report $version"
check cmp <(/usr/bin/vellumark-report tests/golden/baseline.jpg) tests/golden/baseline.expected
page=$(MANWIDTH=80 man vellumark-report 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS OUTPUT 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
  check grep -qx "$section" <<<"$page"
done
for status in 0 1 2 130; do
  check grep -qx "       $status  *[A-Z].*" <<<"$page"
done
check cmp /usr/share/doc/vellumark-report/README.md README.md

# The completion offers JPEG names in any case and folders; after --files-from
# any file.
mkdir "$root/names" "$root/names/folder"
touch "$root/names/"{a.jpg,b.JPEG,c.Jfif,d.jpe,list.txt}
completions() {
  (cd "$root/names" && bash -c '
    source /usr/share/bash-completion/bash_completion
    source /usr/share/bash-completion/completions/vellumark-report
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _vellumark_report 2>/dev/null
    printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' _ "$@")
}
check test "$(completions vellumark-report '')" = "a.jpg b.JPEG c.Jfif d.jpe folder"
check test "$(completions vellumark-report --files-from '')" = "a.jpg b.JPEG c.Jfif d.jpe folder list.txt"
check test "$(completions vellumark-report --encoding '')" = "gbk utf-8"

# The window next to it: its libraries all found, its manual page installed.
scripts/apt-get.sh install -y -qq "$window_deb" >/dev/null
check test "$(dpkg-query -W -f='${Version}' vellumark)" = "$version"
check test -x /usr/bin/vellumark
check test "$(ldd /usr/bin/vellumark | grep -c 'not found')" = 0
check grep -qx DESCRIPTION <<<"$(MANWIDTH=80 man vellumark 2>/dev/null)"
check cmp /usr/share/doc/vellumark/README.md README.md

checks_summary package
