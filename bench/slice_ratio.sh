#!/usr/bin/env bash
# Slicing against decoding alone, per container: the whole trevanto-cli
# process (`slice FILE --engine --quiet`, and the sampler) against
# `ffmpeg -threads 2 -i FILE -an -f null -` on the same file, run back to
# back, best of three each. Ratio = slicing time / ffmpeg time.
# The files are the 720 x 576 benchmark clip (bench_clip) as it is (MPEG-2
# program stream) and re-encoded by ffmpeg into the other codecs, plus a
# long clip of the benchmark clip 20 times over (10 minutes).
# Goals: engine <= 0.85 on MPEG-1/2/4 and MS-MPEG4, <= 1.0 on WMV and MJPEG;
# sampler <= 0.5 on MPEG. Timings are noisy on a busy machine: the load
# average is printed with the table.
#   [TREVANTO_CLI=other/trevanto-cli] [BEFORE_CLI=older/trevanto-cli] \
#     bench/slice_ratio.sh [build folder] [--short]
#   (--short: no long clip; BEFORE_CLI: another build timed in the same
#   rounds, for a before/after table)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh
build=${1:-build}
cmake --build "$build" --target trevanto-cli bench_clip >/dev/null
cli=${TREVANTO_CLI:-$build/src/cli/trevanto-cli}  # another build to compare
media=$build/media
work=$build/bench_slice_ratio
mkdir -p "$work"
source=$media/bench_mpeg2.mpg

make_clip() {  # name, ffmpeg output options...
  local name=$1
  shift
  [[ -s $work/$name ]] ||
    ffmpeg -nostdin -v error -y -i "$source" -an "$@" "$work/$name"
}
make_clip mpeg1.mpg -c:v mpeg1video -q:v 4
make_clip mpeg4.avi -c:v mpeg4 -q:v 4
make_clip msmpeg4.avi -c:v msmpeg4 -q:v 4
make_clip wmv2.wmv -c:v wmv2 -q:v 4
make_clip mjpeg.avi -c:v mjpeg -q:v 4
files=("$source" "$work/mpeg1.mpg" "$work/mpeg4.avi" "$work/msmpeg4.avi" "$work/wmv2.wmv"
       "$work/mjpeg.avi")
if [[ ${2:-} != --short ]]; then
  long_clip "$source" "$work/long_mpeg2.mpg"
  files+=("$work/long_mpeg2.mpg")
fi

best() { printf '%s\n' "$@" | sort -g | head -1; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
before=${BEFORE_CLI:-}
printf '%-16s %8s %8s %8s %7s %7s' file ffmpeg engine sampler engine/ sampler/
[[ -z $before ]] || printf ' %14s %15s' "engine/ before" "sampler/ before"
echo
for file in "${files[@]}"; do
  f=() e=() s=() eb=() sb=()
  for _ in 1 2 3; do
    f+=("$(seconds ffmpeg -nostdin -v error -threads 2 -i "$file" -an -f null -)")
    e+=("$(seconds "$cli" slice "$file" --engine --quiet)")
    s+=("$(seconds "$cli" slice "$file" --sampler frames 40 --quiet)")
    if [[ -n $before ]]; then
      eb+=("$(seconds "$before" slice "$file" --engine --quiet)")
      sb+=("$(seconds "$before" slice "$file" --sampler frames 40 --quiet)")
    fi
  done
  ff=$(best "${f[@]}") en=$(best "${e[@]}") sa=$(best "${s[@]}")
  awk -v n="$(basename "$file")" -v f="$ff" -v e="$en" -v s="$sa" \
    'BEGIN { printf "%-16s %8.3f %8.3f %8.3f %7.2f %7.2f", n, f, e, s, e / f, s / f }'
  if [[ -n $before ]]; then
    awk -v f="$ff" -v e="$(best "${eb[@]}")" -v s="$(best "${sb[@]}")" \
      'BEGIN { printf " %14.2f %15.2f", e / f, s / f }'
  fi
  echo
done
echo "(seconds, best of 3; the ratios are against ffmpeg)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
