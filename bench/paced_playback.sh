#!/usr/bin/env bash
# Paced playback of the 720 x 576, 25 fps benchmark clip 20 times over
# (10 minutes, made by slice_ratio.sh or here) at 1x and 2x, 60 s each, as
# the desktop program plays it. Goal: no dropped frame, arrivals within 5 ms
# of the clock at the 99th percentile. The load average is printed: other
# work on the machine makes frames late.
#   bench/paced_playback.sh [build folder] [seconds per rate]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target bench_paced bench_clip >/dev/null
work=$build/bench_slice_ratio
file=$work/long_mpeg2.mpg
if [[ ! -s $file ]]; then
  mkdir -p "$work"
  source=$(realpath "$build/media/bench_mpeg2.mpg")
  for _ in $(seq 20); do echo "file '$source'"; done >"$work/long.txt"
  ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$work/long.txt" -c copy "$file"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
"$build/bench/bench_paced" "$file" "${2:-60}" 1 2
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
