#!/usr/bin/env bash
# vellumark-report --check next to its peers, on photo-like pictures of 3.4
# megapixels (2272 x 1504) encoded by cjpeg, baseline and progressive:
# - the time per file and MB/s of --check -j 1, jpeginfo -c and libjpeg-turbo's
#   entropy decoding alone (entropy-decode, built from entropy_decode.cpp), each
#   one process over the batch, and the ratios;
# - -j 2 over a batch next to two -j 1 processes over its halves at once;
# - single bits flipped in the entropy-coded data of baseline files with and
#   without restart intervals: what libjpeg-turbo and --check make of them;
# - the peak memory of --check on large progressive files.
# Figures only: nothing here passes or fails.
#
#   bench/check.sh [PATH/TO/vellumark-report [PATH/TO/entropy-decode]]
#
# BENCH_ROUNDS (default 5) passes each batch that many times over;
# BENCH_FLIPS (default 1000) is the number of flipped copies of each kind.
set -euo pipefail

source "$(dirname "$0")/common.sh"
decode=$(realpath "${2:-$(dirname "$report")/../bench/entropy-decode}")
[[ -x $decode ]] || { echo "$script: $decode is not built; see bench/README.md" >&2; exit 2; }
rounds=${BENCH_ROUNDS:-5}
flips=${BENCH_FLIPS:-1000}
width=2272
height=1504

# make_photo SEED WIDTH HEIGHT: a PPM with the texture of a photograph. Fractal
# clouds (ppmforge) have a photograph's falling spectrum; a detailed grey one
# carries the picture, two smooth ones tint it, and a little noise per channel
# stands in for the sensor's. Plain clouds or noise alone would leave the
# entropy coder too little or too much to do.
make_photo() {
  local seed=$1 w=$2 h=$3 c
  ppmforge -clouds -dimension 2.8 -seed "$seed" -width "$w" -height "$h" 2>/dev/null |
    ppmtopgm | pamfunc -multiplier 0.8 > "$work/luma.pgm"
  for c in 1 2 3; do
    pgmnoise "$w" "$h" -randomseed "$seed$c" 2>/dev/null | pamfunc -multiplier 0.1 > "$work/noise.pgm"
    ppmforge -clouds -dimension 2.2 -seed "$seed$c" -width "$w" -height "$h" 2>/dev/null |
      ppmtopgm | pamfunc -multiplier 0.2 | pamarith -add "$work/luma.pgm" - |
      pamarith -add - "$work/noise.pgm" > "$work/channel$c.pgm"
  done
  rgb3toppm "$work/channel1.pgm" "$work/channel2.pgm" "$work/channel3.pgm"
  rm "$work"/luma.pgm "$work"/noise.pgm "$work"/channel?.pgm
}

# Four pictures, each as a baseline, a progressive and a restart file (one
# interval per MCU row); cjpeg's defaults otherwise (quality 75, 4:2:0).
make_corpus() {
  local seed
  mkdir -p "$work/corpus"
  for seed in 1 2 3 4; do
    make_photo "$seed" "$width" "$height" > "$work/photo.ppm"
    cjpeg "$work/photo.ppm" > "$work/corpus/baseline-$seed.jpg"
    cjpeg -progressive "$work/photo.ppm" > "$work/corpus/progressive-$seed.jpg"
    cjpeg -restart 1 "$work/photo.ppm" > "$work/corpus/restart-$seed.jpg"
  done
  rm "$work/photo.ppm"
}

# batch KIND: the kind's files, rounds times over.
batch() {
  local round
  for ((round = 0; round < rounds; round++)); do
    printf '%s\n' "$work/corpus/$1"-*.jpg
  done
}

# timed COMMAND...: "wall-seconds cpu-seconds", hyperfine's means.
timed() {
  hyperfine --warmup 1 --min-runs 3 --max-runs 10 --style none --export-csv "$work/time.csv" \
    "$(printf '%q ' "$@")" > /dev/null 2>&1
  awk -F, 'NR == 2 { print $2, $5 + $6 }' "$work/time.csv"
}

# speed KIND: ms per file (wall and CPU) and MB/s of each tool, and the ratios.
speed() {
  local kind=$1 files bytes tool
  mapfile -t files < <(batch "$kind")
  bytes=$(cat "${files[@]}" | wc -c)
  declare -A tools=(
    [check]="$report --check -j 1"
    [jpeginfo]="jpeginfo -c"
    [libjpeg]="$decode"
  )
  for tool in check jpeginfo libjpeg; do
    # shellcheck disable=SC2086  # each command is words without blanks inside
    read -r wall cpu < <(timed ${tools[$tool]} "${files[@]}")
    printf '%s %s %s\n' "$tool" "$wall" "$cpu"
  done | awk -v kind="$kind" -v n="${#files[@]}" -v bytes="$bytes" '
    { name[NR] = $1; wall[NR] = $2; cpu[NR] = $3 }
    END {
      for (i = 1; i <= NR; i++)
        printf "%-12s %-26s %9.2f %9.2f %8.0f %8.2f %8.2f\n", kind, name[i] (name[i] == "check" ? " (--check -j 1)" : \
          name[i] == "jpeginfo" ? " (jpeginfo -c)" : " (entropy-decode)"), wall[i] * 1000 / n, cpu[i] * 1000 / n,
          bytes / wall[i] / 1e6, wall[i] / wall[1], cpu[i] / cpu[1]
    }'
}

# two_jobs: -j 2 over a batch of both kinds next to two -j 1 processes over its
# halves. The kinds alternate, so that each half holds as much work.
two_jobs() {
  local files half one two
  mapfile -t files < <(paste -d '\n' <(batch baseline) <(batch progressive))
  half=$((${#files[@]} / 2))
  printf '%s\n' "${files[@]:0:half}" > "$work/first.txt"
  printf '%s\n' "${files[@]:half}" > "$work/second.txt"
  read -r one _ < <(timed "$report" --check -j 2 "${files[@]}")
  hyperfine --warmup 1 --min-runs 3 --max-runs 10 --style none --export-csv "$work/time.csv" \
    "xargs -d '\n' $report --check -j 1 < $work/first.txt > /dev/null & xargs -d '\n' $report --check -j 1 < $work/second.txt > /dev/null; wait" \
    > /dev/null 2>&1
  two=$(awk -F, 'NR == 2 { print $2 }' "$work/time.csv")
  awk -v n="${#files[@]}" -v one="$one" -v two="$two" 'BEGIN {
    printf "%d files: -j 2 %.3f s, two -j 1 processes at once %.3f s; -j 2 is %.2fx as fast (goal 0.9x)\n",
      n, one, two, two / one
  }'
}

# Makes BENCH_FLIPS copies of FILE in DIR, each with one bit of its entropy-coded
# data flipped (never an FF, the 00 after one, or a flip that makes an FF), and
# prints "COPY OFFSET INTERVAL" for each, INTERVAL counting the restart markers
# before OFFSET. Writes the offsets of those markers to DIR/restarts.txt, and
# that of the scan's end (the marker after its data) to DIR/end.txt.
flip_copies() {
  perl -e '
    my ($file, $dir, $count) = @ARGV;
    open my $in, "<:raw", $file or die; local $/; my $jpeg = <$in>;
    # The data of the one scan: from after its SOS segment to the next marker
    # that is neither a restart marker nor a stuffed FF 00.
    $jpeg =~ /\xFF\xDA/g or die; my $start = pos($jpeg) + unpack("n", substr($jpeg, pos($jpeg), 2));
    pos($jpeg) = $start; $jpeg =~ /\xFF[^\x00\xD0-\xD7]/g or die; my $end = pos($jpeg) - 2;
    my @restarts; pos($jpeg) = $start;
    while ($jpeg =~ /\xFF[\xD0-\xD7]/g && pos($jpeg) <= $end) { push @restarts, pos($jpeg) - 2 }
    open my $list, ">", "$dir/restarts.txt" or die; print $list "$_\n" for @restarts;
    open my $last, ">", "$dir/end.txt" or die; print $last "$end\n";
    srand(16);
    for (my $made = 0; $made < $count;) {
      my $at = $start + int(rand($end - $start)); my $bit = int(rand(8));
      my $byte = ord(substr($jpeg, $at, 1)); my $flipped = $byte ^ (0x80 >> $bit);
      next if $byte == 0xFF || $flipped == 0xFF || ord(substr($jpeg, $at - 1, 1)) == 0xFF;
      my $copy = $jpeg; substr($copy, $at, 1) = chr($flipped);
      my $name = "$dir/flip-$at-$bit.jpg";
      open my $out, ">:raw", $name or die; print $out $copy; close $out;
      print "$name $at ", scalar(grep { $_ < $at } @restarts), "\n"; $made++;
    }' "$1" "$2" "$flips"
}

# flips FILE LABEL: flips bits in FILE's data, runs both decoders over the
# copies and prints what they found. libjpeg-turbo's offset is that of the
# input it had consumed at its first warning or error (entropy-decode -v),
# usually the end of the interval or scan; --check's is its verdict's fault,
# the first fault that is damage.
flips() {
  local file=$1 label=$2 dir="$work/flips"
  mkdir -p "$dir"
  flip_copies "$file" "$dir" > "$dir/flips.txt"
  cut -d' ' -f1 "$dir/flips.txt" | xargs "$decode" -v > "$dir/libjpeg.txt"
  cut -d' ' -f1 "$dir/flips.txt" | xargs "$report" --check -j 1 > "$dir/check.txt" || true
  paste -d' ' "$dir/flips.txt" "$dir/libjpeg.txt" "$dir/check.txt" |
    perl -e '
      my ($label, $restarts, $endFile) = @ARGV;
      open my $list, "<", $restarts or die; my @restarts = map { $_ + 0 } <$list>;
      open my $last, "<", $endFile or die; my $end = <$last> + 0;
      my ($n, $libjpegFlags, $checkFlags, $missed, $stricter, $near, @ours, @theirs, @toEnd);
      while (<STDIN>) {
        # COPY OFFSET INTERVAL COPY VERDICT LIBJPEG-OFFSET COPY: VERDICT[: KIND at OFFSET[.BIT]...]
        my ($flip, $interval, $verdict, $libjpegAt, $line) = (split / /, $_, 7)[1, 2, 4, 5, 6];
        $n++;
        my $ok = $line =~ /: OK$/;
        $libjpegFlags++ if $verdict ne "ok";
        $checkFlags++ unless $ok;
        $missed++ if $ok && $verdict ne "ok";
        $stricter++ if !$ok && $verdict eq "ok";
        push @theirs, $libjpegAt - $flip if $verdict ne "ok";
        # Where the flipped interval ends: at the next restart marker or with the scan.
        my ($next) = ((grep { $_ > $flip } @restarts), $end);
        push @toEnd, $next - $flip unless $ok && $verdict eq "ok";
        next unless $line =~ / at (\d+)/;
        push @ours, $1 - $flip;
        my $at = $1; my $faultInterval = grep { $_ < $at } @restarts;
        $near++ if $faultInterval == $interval || $faultInterval == $interval + 1;
      }
      sub median { my @s = sort { $a <=> $b } @_; @s ? $s[$#s / 2] : "-" }
      printf "%s: %d flips; libjpeg-turbo warns or fails on %d, --check says not OK for %d;\n",
        $label, $n, $libjpegFlags, $checkFlags;
      printf "  flagged by libjpeg-turbo but OK to --check: %d (must be 0); the other way round: %d\n",
        $missed, $stricter;
      if (@restarts) {
        printf "  first fault in the flipped interval or the next: %d of %d (%.1f %%; goal 90 %%)\n",
          $near, scalar @ours, @ours ? 100 * $near / @ours : 0;
      }
      printf "  median bytes from the flip to the offset reported: --check %s, libjpeg-turbo %s" .
        " (from the flip to the end of its interval: %s)\n", median(@ours), median(@theirs), median(@toEnd);
    ' "$label" "$dir/restarts.txt" "$dir/end.txt"
  rm -r "$dir"
}

# peak LABEL FILE BLOCKS: the peak memory of --check on FILE, next to
# entropy-decode's and to 8 bytes for each of the frame's BLOCKS.
peak() {
  local ours theirs
  ours=$( { /usr/bin/time -f '%M' "$report" --check "$2" > /dev/null || true; } 2>&1 | tail -1)
  theirs=$( { /usr/bin/time -f '%M' "$decode" "$2" || true; } 2>&1 | tail -1)
  printf '%-44s %9.1f %11d %11d %13d\n' "$1" "$(stat -c %s "$2")e-6" "$ours" "$theirs" $(($3 * 8 / 1024))
}

# blocks420 WIDTH HEIGHT: the blocks of a 4:2:0 frame, cjpeg's default.
blocks420() {
  echo $(((($1 + 15) / 16) * (($2 + 15) / 16) * 6))
}

echo "$(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "vellumark-report: $report"
echo "libjpeg-turbo: $(dpkg-query -W -f '${Version}' libjpeg62-turbo), jpeginfo $(dpkg-query -W -f '${Version}' jpeginfo)"
make_corpus
echo "Corpus: 4 pictures of ${width} x ${height} by cjpeg, each batch passed $rounds times;"
echo "baseline files $(du -cb "$work"/corpus/baseline-*.jpg | tail -1 | cut -f1) bytes, progressive $(du -cb "$work"/corpus/progressive-*.jpg | tail -1 | cut -f1) in all."
echo "Goal: --check at least as fast as libjpeg-turbo's entropy decoding (ratio >= 1, aim 1.5)."
echo
echo "The last two columns: the time of each tool over that of --check, by the clock and by CPU time"
echo "(on a shared machine the CPU time moves less)."
printf '%-12s %-26s %9s %9s %8s %8s %8s\n' kind tool "ms/file" "CPU ms" "MB/s" "wall x" "CPU x"
cat "$work"/corpus/*.jpg > /dev/null  # into the page cache
speed baseline
speed progressive
echo
two_jobs
echo
flips "$work/corpus/restart-1.jpg" "baseline with restarts (one MCU row an interval)"
flips "$work/corpus/baseline-1.jpg" "baseline without restarts"
echo
echo "Memory: constant for sequential scans; progressive ones at most 8 bytes a block beyond that."
printf '%-44s %9s %11s %11s %13s\n' "peak RSS" "input MB" "--check KiB" "libjpeg KiB" "8 B/block KiB"
peak "baseline, 3.4 MP" "$work/corpus/baseline-1.jpg" "$(blocks420 "$width" "$height")"
peak "progressive, 3.4 MP" "$work/corpus/progressive-1.jpg" "$(blocks420 "$width" "$height")"
pamscale 4 < <(make_photo 5 "$width" "$height") | cjpeg -progressive > "$work/large.jpg"
peak "progressive, 54.7 MP (9088 x 6016)" "$work/large.jpg" "$(blocks420 $((width * 4)) $((height * 4)))"
peak "crafted progressive 65535 x 65535, EOB runs" "$root/fuzz/seeds/progressive-65535-eob-runs.jpg" $((8192 * 8192))
