#!/usr/bin/env bash
# The content detector's run against the spread rule's on the same file:
# `trevanto-cli slice FILE --detector D --quiet` through the document and
# with --jobs 1 and 2, on the long benchmark clip (the 720 x 576 benchmark
# clip 20 times over), best of three each, wall and CPU (user + system)
# seconds. Goal: content <= 1.2 x spread. On a busy machine the wall times
# are noisy (the load average is printed); the CPU times are steadier.
#   bench/detector_ratio.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh
build=${1:-build}
cmake --build "$build" --target trevanto-cli bench_clip >/dev/null
cli=$build/src/cli/trevanto-cli
work=$build/bench_detector_ratio
mkdir -p "$work"
long_clip "$build/media/bench_mpeg2.mpg" "$work/long.mpg"

best() {  # detector, extra options...: "wall cpu", the best of three
  local detector=$1
  shift
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %U %S" "$cli" slice "$work/long.mpg" --detector "$detector" --quiet \
      "$@" 2>&1 >/dev/null | tail -1
  done | awk '{ w = $1; c = $2 + $3; if (NR == 1 || w < bw) bw = w; if (NR == 1 || c < bc) bc = c }
              END { printf "%.2f %.2f", bw, bc }'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-10s %12s %12s %12s %12s %8s %8s\n" run "spread wall" "content wall" "spread cpu" \
  "content cpu" "wall x" "cpu x"
for run in document "--jobs 1" "--jobs 2"; do
  options=()
  [[ $run != document ]] && read -ra options <<<"$run"
  read -r sw sc <<<"$(best spread "${options[@]}")"
  read -r cw cc <<<"$(best content "${options[@]}")"
  printf "%-10s %12s %12s %12s %12s %8.2f %8.2f\n" "$run" "$sw" "$cw" "$sc" "$cc" \
    "$(echo "$cw / $sw" | bc -l)" "$(echo "$cc / $sc" | bc -l)"
done
