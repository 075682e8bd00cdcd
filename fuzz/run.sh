#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++-14 in build/fuzz and runs each for
# SECONDS (default 60). Exits non-zero at the first finding; the input that
# caused it is left in build/fuzz/findings/.
#
# Usage: fuzz/run.sh [SECONDS]
#
# The corpus grows in build/fuzz/corpus/<target> and is kept between runs; it
# starts from the real-encoder files in tests/golden, samples and fuzz/seeds.
# Long run, 10 million executions per target on one core each, after a
# fuzz/run.sh has built the targets (about 50 and 11 minutes on a busy 2-core
# machine):
#   build/fuzz/fuzz/walk_fuzzer -runs=10000000 -timeout=10 build/fuzz/corpus/walk
#   build/fuzz/fuzz/thumbnail_fuzzer -runs=10000000 -timeout=10 build/fuzz/corpus/thumbnail
#   ASAN_OPTIONS=malloc_context_size=0:max_malloc_fill_size=0 \
#     build/fuzz/fuzz/json_fuzzer -runs=10000000 -timeout=10 build/fuzz/corpus/json
#   ASAN_OPTIONS=malloc_context_size=0:max_malloc_fill_size=0 \
#     build/fuzz/fuzz/check_fuzzer -runs=10000000 -timeout=10 build/fuzz/corpus/check
# A finding is fixed at its root and its input copied to fuzz/regressions/ as
# walk-NAME, thumbnail-NAME, json-NAME or check-NAME, where the hostile-input tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz

# Coverage and sanitizers for the libraries too, so the fuzzer sees their
# branches and a bad read inside them is reported where it happens.
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_CXX_FLAGS="$flags" -DVELLUMARK_FUZZ=ON -DVELLUMARK_BUILD_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target walk_fuzzer thumbnail_fuzzer json_fuzzer check_fuzzer

seed() {  # seed TARGET PREFIX-BYTE: copies the seed files into an empty corpus
  local corpus=$build/corpus/$1
  [[ -d $corpus ]] && return
  mkdir -p "$corpus"
  for file in tests/golden/*.jpg samples/*.jpg fuzz/seeds/*; do
    { printf "$2"; cat "$file"; } > "$corpus/$(basename "$file")"
  done
}
# The walk target takes the AC option from its first input byte: seeded on.
seed walk '\x01'
seed thumbnail ''
seed json ''
seed check ''

# Each JSON line makes many small allocations (in its check, which is built
# without instrumentation, too): without allocation stacks and fill the target
# runs twice as fast. Replay a finding without these options for the stacks.
json_asan=malloc_context_size=0:max_malloc_fill_size=0

mkdir -p "$build/findings"
for target in walk thumbnail json check; do
  echo "== ${target}_fuzzer for ${seconds} s" >&2
  asan=""
  [[ $target == json || $target == check ]] && asan=$json_asan
  ASAN_OPTIONS=$asan "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$build/corpus/$target"
done
