#!/usr/bin/env bash
# apt-get, waiting up to ten minutes for another package manager to finish
# rather than failing at once with exit 100 while it holds the lock. apt waits
# for the dpkg lock itself (DPkg::Lock::Timeout); `update` also takes the lock
# of the package lists, for which apt has no wait, so it is tried again while
# that lock is what stops it.
set -euo pipefail

timeout=600
export DEBIAN_FRONTEND=noninteractive
apt_get=(apt-get -o "DPkg::Lock::Timeout=$timeout")
[[ "${1:-}" == update ]] || exec "${apt_get[@]}" "$@"

deadline=$((SECONDS + timeout))
while :; do
  status=0
  { errors=$("${apt_get[@]}" "$@" 2>&1 1>&3) || status=$?; } 3>&1
  if ((status == 0)) || [[ "$errors" != *"Could not get lock"* ]] || ((SECONDS >= deadline)); then
    [[ -z "$errors" ]] || echo "$errors" >&2
    exit "$status"
  fi
  sleep 1
done
