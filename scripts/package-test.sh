#!/usr/bin/env bash
# Builds the Debian package and checks it without installing it: every file in
# its place, lintian, the menu entry and AppStream validators, the shell
# completion, and the packaged vellumark-report run from the unpacked package.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(scripts/package.sh)
version=$(dpkg-deb -f "$deb" Version)
source scripts/checks.sh

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for file in usr/bin/vellumark usr/bin/vellumark-report \
    usr/share/applications/vellumark.desktop \
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/vellumark.png \
    usr/share/metainfo/io.github.vellumark.vellumark.metainfo.xml \
    usr/share/man/man1/vellumark.1.gz usr/share/man/man1/vellumark-report.1.gz \
    usr/share/bash-completion/completions/vellumark-report \
    usr/share/doc/vellumark/copyright usr/share/doc/vellumark/changelog.gz; do
  check grep -qx "./$file" <<<"$contents"
done

check lintian --fail-on error,warning "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
check desktop-file-validate "$root/usr/share/applications/vellumark.desktop"
check appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.vellumark.vellumark.metainfo.xml"
check test "$("$root/usr/bin/vellumark-report" --version)" = "vellumark-report $version"
check cmp <("$root/usr/bin/vellumark-report" tests/golden/baseline.jpg) tests/golden/baseline.expected

# The completion offers JPEG names in any case and folders; after --files-from
# any file.
mkdir "$root/names" "$root/names/folder"
touch "$root/names/"{a.jpg,b.JPEG,c.Jfif,d.jpe,list.txt}
completions() {
  (cd "$root/names" && bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$0"
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _vellumark_report 2>/dev/null
    printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' \
    "$root/usr/share/bash-completion/completions/vellumark-report" "$@")
}
check test "$(completions vellumark-report '')" = "a.jpg b.JPEG c.Jfif d.jpe folder"
check test "$(completions vellumark-report --files-from '')" = "a.jpg b.JPEG c.Jfif d.jpe folder list.txt"
check test "$(completions vellumark-report --encoding '')" = "gbk utf-8"

checks_summary package
