#!/usr/bin/env bash
# JPEG export of many shots against slicing alone: trevanto-cli slices a
# 10-minute MPEG-2 program stream (the benchmark clip 20 times over) with
# the sampler every 5 frames (3,000 shots), once without and once with
# --jpeg, best of RUNS each. The difference is the export, a frame job that
# reaches every shot's frame through the media layer; the decoder's traces
# (TREVANTO_DEBUG) count how it got there: decoded on from the frame before,
# or sought, with the stream seeks and frames decoded per item.
# Goal: the export at most 1.5 times the slicing.
#   bench/frame_jobs.sh [build folder] [runs] [cli binary]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-2}
cmake --build "$build" --target trevanto-cli bench_clip >/dev/null
cli=${3:-$build/src/cli/trevanto-cli}
work=$build/bench_frame_jobs
mkdir -p "$work"
source=$build/media/bench_mpeg2.mpg
clip=$work/long_mpeg2.mpg
source bench/timing.sh
long_clip "$source" "$clip"

best() {  # command...: the best elapsed seconds of $runs runs
  local top="" start end
  for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    top=$(awk -v a="$top" -v s="$start" -v e="$end" 'BEGIN { t = e - s; print (a == "" || t < a) ? t : a }')
  done
  echo "$top"
}

slice=(slice "$clip" --sampler frames 5 --quiet)
rm -rf "$work/jpeg" && mkdir -p "$work/jpeg"
sliced=$(best "$cli" "${slice[@]}")
exported=$(best "$cli" "${slice[@]}" --jpeg --target "$work/jpeg")
echo "slicing: ${sliced}s  slicing + JPEG export: ${exported}s ($(ls "$work/jpeg" | wc -l) images)"
awk -v s="$sliced" -v e="$exported" \
  'BEGIN { x = e - s; printf "export: %.2fs = %.2f x slicing (goal <= 1.5)\n", x, x / s }'

# One traced run: how each item's frame was reached.
TREVANTO_DEBUG=1 "$cli" "${slice[@]}" --jpeg --target "$work/jpeg" 2>&1 >/dev/null |
  awk '/ decoded on: / { on++; onFrames += $5 }
       / sought: / { sought++; seeks += $4; soughtFrames += $6 }
       END { items = on + sought
             printf "items: %d decoded on (%.1f frames each), %d sought (%.1f seeks, %.1f frames each)\n",
                    on, on ? onFrames / on : 0, sought, sought ? seeks / sought : 0,
                    sought ? soughtFrames / sought : 0
             printf "per item: %.2f seeks, %.1f frames decoded\n",
                    items ? seeks / items : 0, items ? (onFrames + soughtFrames) / items : 0 }'
