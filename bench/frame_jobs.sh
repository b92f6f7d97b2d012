#!/usr/bin/env bash
# JPEG export and publication of many shots against slicing alone:
# trevanto-cli slices a 10-minute MPEG-2 program stream (the benchmark clip
# 20 times over) with the sampler every 5 frames (3,000 shots), once without
# outputs, once with --jpeg and once with --publish, best of RUNS each. The
# difference is the frame job: workers (one per core) decode the shots'
# frames segment by segment and make the images, which the job writes in
# order, a synced batch at a time. The machine's load is printed with each
# figure, since other work on the cores skews them.
# Goal: the export and the publication each at most 1.5 times the slicing.
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

load() { cut -d' ' -f1 /proc/loadavg; }

slice=(slice "$clip" --sampler frames 5 --quiet)
rm -rf "$work/jpeg" "$work/pub" && mkdir -p "$work/jpeg"
sliced=$(best "$cli" "${slice[@]}")
echo "slicing: ${sliced}s (load $(load))"
for output in jpeg publish; do
  if [[ $output == jpeg ]]; then
    extra=(--jpeg --target "$work/jpeg")
  else
    extra=(--publish "$work/pub/index.html")
  fi
  total=$(best "$cli" "${slice[@]}" "${extra[@]}")
  awk -v s="$sliced" -v t="$total" -v o="$output" -v l="$(load)" \
    'BEGIN { x = t - s; printf "%s: %.2fs = %.2f x slicing (goal <= 1.5; load %s)\n", o, x, x / s, l }'
done
echo "images: $(ls "$work/jpeg" | wc -l) exported, $(ls "$work/pub" | grep -c '\.jpg$') published"
