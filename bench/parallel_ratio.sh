#!/usr/bin/env bash
# The shot engine in segments on 1 and 2 workers (`trevanto-cli slice FILE
# --jobs N`) against `ffmpeg -threads 2 -i FILE -an -f null -`, on a
# 10-minute clip: the
# benchmark clip 20 times over (MPEG-2 program stream), and with --h264 the
# same re-encoded to H.264 in MP4. Best of three each, run back to back.
# Columns: seconds, then jobs/ffmpeg ratios and the scaling (1 worker's time
# over 2 workers'). Goals: all cores at most 0.75 of ffmpeg on MPEG, 1.0 on
# H.264; 2 workers at least 1.8 times as fast as 1. The load average is
# printed with the table: timings on a busy machine are noisy.
#   bench/parallel_ratio.sh [build folder] [--h264]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target trevanto-cli bench_clip >/dev/null
cli=$build/src/cli/trevanto-cli
work=$build/bench_parallel_ratio
mkdir -p "$work"
source=$build/media/bench_mpeg2.mpg
long=$work/long_mpeg2.mpg
source bench/timing.sh
long_clip "$source" "$long"
files=("$long")
if [[ ${2:-} == --h264 ]]; then
  [[ -s $work/long_h264.mp4 ]] ||
    ffmpeg -nostdin -v error -y -i "$long" -c:v libx264 -preset veryfast -g 250 \
      "$work/long_h264.mp4"
  files+=("$work/long_h264.mp4")
fi

best() { printf '%s\n' "$@" | sort -g | head -1; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
printf '%-16s %8s %8s %8s %8s %8s %8s\n' file ffmpeg jobs1 jobs2 \
  jobs1/ff jobs2/ff scaling
for file in "${files[@]}"; do
  f=() j1=() j2=()
  for _ in 1 2 3; do
    f+=("$(seconds ffmpeg -nostdin -v error -threads 2 -i "$file" -an -f null -)")
    j1+=("$(seconds "$cli" slice "$file" --engine --quiet --jobs 1)")
    j2+=("$(seconds "$cli" slice "$file" --engine --quiet --jobs 2)")
  done
  awk -v n="$(basename "$file")" -v f="$(best "${f[@]}")" \
    -v a="$(best "${j1[@]}")" -v b="$(best "${j2[@]}")" \
    'BEGIN { printf "%-16s %8.3f %8.3f %8.3f %8.2f %8.2f %8.2f\n",
             n, f, a, b, a / f, b / f, a / b }'
done
