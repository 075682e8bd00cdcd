#!/usr/bin/env bash
# Mutation testing: puts each single-line fault of a list, one at a time, into
# a scratch worktree of a commit, builds it, runs the tests and prints the
# faults no test noticed, and the share of faults killed. A tool for writing
# tests, not part of the test command.
#
#   scripts/mutants.sh [-l LIST] [-t PROGRAM]... [-c COMMIT] [-j JOBS]
#
#   -l LIST     the faults (default scripts/mutants.txt, which describes its form)
#   -t PROGRAM  run only this test program, e.g. vellumark_json_tests, and build
#               only what it needs; may be repeated, Qt Test programs too.
#               Default: the whole suite.
#   -c COMMIT   the commit to mutate (default HEAD); changes not committed are
#               not in it
#   -j JOBS     build and test jobs (default 2)
#
# The worktree and its build folder stay in build/mutants between runs, so that
# every build after the first compiles only the mutated file; remove them with
# `git worktree remove --force build/mutants/worktree`. A fault whose text is
# not found, or that does not compile, is listed apart and not counted.
set -euo pipefail
cd "$(dirname "$0")/.."

list=scripts/mutants.txt
commit=HEAD
jobs=2
programs=()
while getopts "l:t:c:j:" option; do
  case $option in
    l) list=$OPTARG ;;
    t) programs+=("$OPTARG") ;;
    c) commit=$OPTARG ;;
    j) jobs=$OPTARG ;;
    *) sed -n '7,15p' "$0" >&2; exit 2 ;;
  esac
done

scratch=$PWD/build/mutants
worktree=$scratch/worktree
build=$scratch/build
logs=$scratch/logs
export QT_QPA_PLATFORM=offscreen

files=() hints=() froms=() tos=()
read_list() {
  local line file="" hint="" from=""
  while IFS= read -r line || [[ -n $line ]]; do
    case $line in
      '#'* | '') ;;
      '- '*) from=${line#- } ;;
      '+' | '+ '*)
        files+=("$file") hints+=("$hint") froms+=("$from") tos+=("${line#+}")
        tos[-1]=${tos[-1]# } ;;
      *) file=${line%:*} hint=${line##*:} ;;
    esac
  done <"$list"
}

prepare_worktree() {
  if [[ -d $worktree ]]; then
    git -C "$worktree" checkout --quiet --force --detach "$commit"
  else
    mkdir -p "$scratch"
    git worktree add --quiet --detach "$worktree" "$commit"
  fi
  mkdir -p "$logs"
  (cd "$worktree" && cmake --preset dev -B "$build" >"$logs/configure" 2>&1)
}

build() {
  local targets=()
  ((${#programs[@]} == 0)) || targets=(--target "${programs[@]}")
  nice cmake --build "$build" -j "$jobs" "${targets[@]}" >"$logs/build" 2>&1
}

# True when every chosen test passes; stops at the first failure.
tests_pass() {
  if ((${#programs[@]} == 0)); then
    nice ctest --test-dir "$build" -j "$jobs" --timeout 300 --stop-on-failure >"$logs/test" 2>&1
    return
  fi
  local program path
  for program in "${programs[@]}"; do
    path=$(find "$build/tests" -name "$program" -type f -perm -u+x | head -n 1)
    # Options through the environment, which Qt Test programs leave alone.
    GTEST_FAIL_FAST=1 GTEST_BRIEF=1 nice timeout 600 "$path" >"$logs/test" 2>&1 || return 1
  done
}

# The first test that failed, as the log names it.
killer() {
  sed -n -e 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' -e 's/^FAIL!  : \([^ (]*\).*/\1/p' \
    -e 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$logs/test" |
    head -n 1 | grep . || echo "a crash or timeout"
}

# The number of the line holding text nearest to hint, or nothing.
line_of() {
  grep -nF -- "$2" "$worktree/$1" | cut -d: -f1 |
    awk -v hint="$3" '{ d = $1 > hint ? $1 - hint : hint - $1 } best == "" || d < nearest { best = $1; nearest = d }
                      END { if (best != "") print best }'
}

# Replaces the first from on line number at of file with to.
mutate() {
  local path=$worktree/$1 at=$2 from=$3 to=$4 text
  mapfile -t text <"$path"
  text[at - 1]=${text[at - 1]/"$from"/"$to"}
  printf '%s\n' "${text[@]}" >"$path"
}

read_list
commit=$(git rev-parse --verify "$commit^{commit}")  # HEAD here, not the worktree's
prepare_worktree
echo "Mutating $(git -C "$worktree" rev-parse --short HEAD); tests: ${programs[*]:-the whole suite}"
if ! build || ! tests_pass; then
  echo "The tests fail before any fault is put in; see $logs" >&2
  exit 1
fi

killed=0 survivors=() unusable=()
for i in "${!files[@]}"; do
  file=${files[i]} from=${froms[i]} to=${tos[i]}
  name="$file:${hints[i]}: '$from' -> '$to'"
  at=$(line_of "$file" "$from" "${hints[i]}" 2>/dev/null || true)
  if [[ -z $at ]]; then
    unusable+=("$name (not found)")
    echo "[$((i + 1))/${#files[@]}] not found  $name"
    continue
  fi
  mutate "$file" "$at" "$from" "$to"
  if ! build; then
    outcome="not built" && unusable+=("$name (not built)")
  elif tests_pass; then
    outcome="SURVIVED " && survivors+=("$name")
  else
    outcome="killed   " && killed=$((killed + 1))
    name+=" by $(killer)"
  fi
  git -C "$worktree" checkout --quiet -- "$file"
  echo "[$((i + 1))/${#files[@]}] $outcome $name"
done

counted=$((killed + ${#survivors[@]}))
echo
for name in "${unusable[@]}"; do echo "not counted: $name"; done
for name in "${survivors[@]}"; do echo "survivor: $name"; done
if ((counted > 0)); then
  echo "killed $killed of $counted ($((100 * killed / counted)) %)"
fi
((${#survivors[@]} == 0))
