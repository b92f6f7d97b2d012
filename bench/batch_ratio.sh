#!/usr/bin/env bash
# A batch of many short clips against the same clips sliced one by one:
# `batch DIR --save --csv --jobs CORES` against the sum of single
# `slice FILE --save --csv` runs divided by the cores, and the batch's peak
# memory (the largest slice child; the batch's own is a few MB) at 50 and at
# COUNT clips, which should be the same.
# Goals: the batch within 10% of (sum of single runs) / cores; the same peak
# memory whatever the number of clips; the manifest's share of the batch's
# time under 1% (printed: a rerun with nothing to do, which reads the
# manifest and checks every input, against the batch).
#   bench/batch_ratio.sh [build folder] [COUNT, 200 by default]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh
build=${1:-build}
count=${2:-200}
cmake --build "$build" --target trevanto-cli test_media >/dev/null
cli=$(realpath "$build/src/cli/trevanto-cli")
work=$build/bench_batch
rm -rf "$work" && mkdir -p "$work/clips" "$work/single"
for i in $(seq -w 1 "$count"); do
  cp "$build/media/clip_mpeg1.mpg" "$work/clips/clip$i.mpg"
done
cores=$(nproc)
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $cores cores, $count clips"

start=$(date +%s.%N)
for f in "$work"/clips/*.mpg; do
  n=$(basename "$f" .mpg)
  "$cli" slice "$f" --save "$work/single/$n.hpv" --csv "$work/single/$n.csv" --quiet >/dev/null
done
single=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }')

peak() {  # out folder, clip count: the batch's peak resident memory in KB
  rm -rf "$1"
  mkdir -p "$1.in"
  ls "$work/clips" | head -n "$2" | while read -r f; do ln -sf "../clips/$f" "$1.in/$f"; done
  /usr/bin/time -f %M "$cli" batch "$1.in" --out "$1" --save --csv --quiet 2>&1 >/dev/null | tail -1
}
batch=$(seconds "$cli" batch "$work/clips" --out "$work/out" --save --csv --jobs "$cores" --quiet)
rerun=$(seconds "$cli" batch "$work/clips" --out "$work/out" --save --csv --jobs "$cores" --quiet)
awk -v s="$single" -v b="$batch" -v c="$cores" -v r="$rerun" 'BEGIN {
  printf "single runs %.2f s, / %d cores = %.2f s; batch %.2f s (%.2fx); rerun with nothing to do %.3f s (%.2f%%)\n",
         s, c, s / c, b, b / (s / c), r, 100 * r / b }'
echo "peak memory: $(peak "$work/peak50" 50) KB at 50 clips, $(peak "$work/peak$count" "$count") KB at $count"
