#!/usr/bin/env bash
# A collection spread over several processes with GNU parallel, as it would be
# over several machines (README, "Many machines"). On this one machine:
#
#   find DIR -type f \( -iname '*.jpg' -o ... \) -print0 | LC_ALL=C sort -z |
#     parallel -0 -X --keep-order -j 2 vellumark-report --json
#
# gives the same JSON Lines as one `vellumark-report --json -r DIR`; the script
# checks that and prints the time of both. Where an SSH server can be started
# on 127.0.0.1 (Debian openssh-server), parallel then runs the same batches
# through --sshlogin to it, on the shared file system, and the lines are
# checked once more. Figures only: nothing here passes or fails.
#
#   bench/many_machines.sh [PATH/TO/vellumark-report]
set -euo pipefail

source "$(dirname "$0")/common.sh"
collection="$work/collection"
# The benchmark corpus ten times over, in ten folders of hard links.
"$root/bench/make_corpus.sh" "$collection/0"
for i in 1 2 3 4 5 6 7 8 9; do
  cp -al "$collection/0" "$collection/$i"
done

# The files -r reports, in its order: the byte order of their paths.
find_jpegs() {
  find "$collection" -type f \( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.jpe' -o -iname '*.jfif' \) \
    -print0 | LC_ALL=C sort -z
}

# same_lines NAME FILE : whether FILE holds exactly the lines of one process.
same_lines() {
  if cmp -s "$work/one.jsonl" "$2"; then
    echo "$1: the same $(wc -l < "$2") lines as one process"
  else
    echo "$1: DIFFERENT lines from one process"
  fi
}

# time_of NAME COMMAND : the median of a few runs, through bash for the pipes.
time_of() {
  hyperfine --shell=bash --warmup 1 --min-runs 3 --max-runs 10 --style none \
    --export-csv "$work/time.csv" "$2" > "$work/hyperfine.log" 2>&1 || { cat "$work/hyperfine.log" >&2; return 1; }
  awk -F, -v name="$1" -v n="$files" 'NR == 2 {
      printf "%-40s %9.3f s %9.1f us per file\n", name, $4, $4 * 1e6 / n
    }' "$work/time.csv"
}

files=$(find_jpegs | tr -cd '\0' | wc -c)
one="$(printf '%q' "$report") --json -r $(printf '%q' "$collection")"
spread="find_jpegs | parallel -0 -X --keep-order -j 2 $(printf '%q' "$report") --json"
export -f find_jpegs
export collection

echo "$files JPEG files (the corpus of make_corpus.sh, ten times); $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p')"
echo "vellumark-report: $report"
echo
bash -c "$one" > "$work/one.jsonl"
bash -c "$spread" > "$work/spread.jsonl"
same_lines "parallel -X --keep-order -j 2" "$work/spread.jsonl"
time_of "one process, -r" "$one"
time_of "parallel -0 -X --keep-order -j 2" "$spread"

# The optional part: an SSH server of our own on 127.0.0.1, with keys made for
# this run only, reached by parallel as if it were another machine.
start_ssh_server() {
  "$root/scripts/deps.sh" ssh > /dev/null 2>&1 || return 1
  mkdir -p /run/sshd
  ssh-keygen -q -t ed25519 -N '' -f "$work/host_key" || return 1
  ssh-keygen -q -t ed25519 -N '' -f "$work/client_key" || return 1
  cp "$work/client_key.pub" "$work/authorized_keys"
  port=$((20000 + RANDOM % 20000))
  /usr/sbin/sshd -f /dev/null -p "$port" -o ListenAddress=127.0.0.1 -h "$work/host_key" \
    -o AuthorizedKeysFile="$work/authorized_keys" -o StrictModes=no -o PidFile="$work/sshd.pid" \
    -o UsePAM=no -o PasswordAuthentication=no -o KbdInteractiveAuthentication=no \
    -o PermitRootLogin=prohibit-password || return 1
  trap 'kill "$(cat "$work/sshd.pid" 2>/dev/null)" 2>/dev/null; rm -rf "$work"' EXIT
  login="ssh -p $port -i $work/client_key -o BatchMode=yes -o StrictHostKeyChecking=no"
  login+=" -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR $(id -un)@127.0.0.1"
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    $login true 2> /dev/null && return 0
    sleep 0.2
  done
  return 1
}

echo
if start_ssh_server; then
  remote="find_jpegs | parallel -0 -X --keep-order -j 2 --sshlogin $(printf '%q' "$login") $(printf '%q' "$report") --json"
  bash -c "$remote" > "$work/ssh.jsonl"
  same_lines "parallel --sshlogin 127.0.0.1" "$work/ssh.jsonl"
  time_of "parallel --sshlogin 127.0.0.1 -X -j 2" "$remote"
else
  echo "No SSH server could be started on 127.0.0.1: the --sshlogin part is left out."
fi
