#!/usr/bin/env bash
# The playback graph against the ffmpeg command line tool on the same clip in
# the same run: unpaced decoding + RGB32 conversion + delivery vs. decoding
# alone (ffmpeg -threads 2 -i CLIP -f null -), best of three runs each.
# Goal: at least 0.8 of ffmpeg's rate.
#   bench/media_bench.sh [build folder] [clip]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target bench_media bench_clip >/dev/null
clip=${2:-$build/media/bench_mpeg2.mpg}

graph=$("$build/bench/bench_media" "$clip" 3)
echo "graph:  $graph"
frames=$(sed -n 's/.*frames=\([0-9]*\).*/\1/p' <<<"$graph")
graph_fps=$(sed -n 's/.*fps=\([0-9.]*\).*/\1/p' <<<"$graph")

best=""
for run in 1 2 3; do
  rtime=$(ffmpeg -hide_banner -nostdin -benchmark -threads 2 -i "$clip" -an -f null - 2>&1 |
          sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p' | tail -1)
  best=$(awk -v a="$best" -v b="$rtime" 'BEGIN { print (a == "" || b < a) ? b : a }')
done
ffmpeg_fps=$(awk -v f="$frames" -v t="$best" 'BEGIN { printf "%.1f", f / t }')
echo "ffmpeg: frames=$frames seconds=$best fps=$ffmpeg_fps"
awk -v g="$graph_fps" -v f="$ffmpeg_fps" \
  'BEGIN { r = g / f; printf "ratio=%.2f (goal >= 0.80) %s\n", r, (r >= 0.8 ? "met" : "NOT met") }'
