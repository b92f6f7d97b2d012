#!/usr/bin/env bash
# Loading shots files: the time per record and the memory per shot of
# trevanto-cli load, from two loads of the same clip (N and 4N records, each
# rebuilt from a seek and a fresh thumbnail); the differences leave out what
# the program takes anyway. Goal: a few KB per shot, so that the bound of
# 100,000 records stays well within memory.
#   bench/shots_file_load.sh [build folder] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
small=${2:-1000}
large=$((small * 4))
cmake --build "$build" --target trevanto-cli >/dev/null
clip=$(realpath "$build/media/clip_mpeg1.mpg")  # 200 frames
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Records spread over the clip, each a shot of 10 frames.
write_file() {
  printf 'Trevanto (c) 2004 Qelvar\r\n\r\n%s\r\n' "$clip" >"$2"
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) {
    s = (i * 7) % 190; printf "shot %d=%d,%d,%d\r\n", i + 1, s, s, s + 9 } }' >>"$2"
}

# Prints "seconds kilobytes" of one load.
measure() {
  write_file "$1" "$work/shots.hpv"
  /usr/bin/time -f '%e %M' -o "$work/time" "$build/src/cli/trevanto-cli" load "$work/shots.hpv" \
    >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  cat "$work/time"
}

read -r t1 m1 < <(measure "$small")
read -r t2 m2 < <(measure "$large")
awk -v n1="$small" -v n2="$large" -v t1="$t1" -v t2="$t2" -v m1="$m1" -v m2="$m2" 'BEGIN {
  printf "%d records: %.2f s, %d KB peak; %d records: %.2f s, %d KB peak\n", n1, t1, m1, n2, t2, m2
  printf "per record: %.2f ms, %.1f KB\n", (t2 - t1) * 1000 / (n2 - n1), (m2 - m1) / (n2 - n1) }'
